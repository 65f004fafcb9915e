#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace tempolatch {

class EntryTimerTable;
class TimerKeeper;

// An icon in the desktop's tray while any timer runs: its tooltip shows
// each timer's client and time, its menu opens the timers, pauses and
// resumes each one, and quits. Where the desktop has no tray nothing is
// shown and the program works as without it.
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

Q_SIGNALS:
    void openTimersRequested();
    void quitRequested();

private:
    void timersChanged();
    void ticked();
    void rebuildMenu();

    TimerKeeper& m_keeper;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
};

}  // namespace tempolatch
