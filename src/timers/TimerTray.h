#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace tempolatch {

class EntryTimerTable;
class TimerKeeper;

// An icon in the desktop's tray while any timer runs or is paused: its
// tooltip shows each timer's client and time, its menu shows the window,
// opens the timers, pauses or resumes all of them or each one, and quits. Where the desktop has no
// tray nothing is shown and the program works as without it.
class TimerTray : public QObject {
    Q_OBJECT
public:
    TimerTray(TimerKeeper& keeper, QObject* parent = nullptr);
    ~TimerTray() override;

    // One line per timer in use: client and elapsed time, "(paused)" after
    // a paused one.
    static QString tooltip(const EntryTimerTable& table);

    // The icon, while it is shown; nullptr otherwise.
    QSystemTrayIcon* icon() const { return m_icon; }
    QMenu* menu() const { return m_menu; }
    // Pauses every running timer, or resumes every paused one.
    void setAllPaused(bool paused);

Q_SIGNALS:
    void openTimersRequested();
    void showWindowRequested();
    void quitRequested();

private:
    static bool anyInUse(const EntryTimerTable& table);
    void timersChanged();
    void ticked();
    void rebuildMenu();

    TimerKeeper& m_keeper;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
};

}  // namespace tempolatch
