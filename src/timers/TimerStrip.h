#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;

namespace tempolatch {

class EntryTimerTable;
class FlowLayout;
class TimerKeeper;

// The timers in plain sight, in a strip above the main list or at its foot
// (by the status line), as the settings say: each timer in
// use with its running time, client and project, a button that pauses or
// resumes it and one that completes it; and a button that starts a new
// timer for the work of the selected entry.
class TimerStrip : public QWidget {
    Q_OBJECT
public:
    // Where the main window puts the strip (setting TimerStripPlace).
    enum Place { AboveList = 0, AtStatusLine = 1 };

    explicit TimerStrip(TimerKeeper& keeper, QWidget* parent = nullptr);

    // The rows its timers take now (more when the window is narrow).
    int rows() const;

    // "01:02:05 Acme / Website", paused ones marked.
    static QString timerText(const EntryTimerTable& table, int slot);
    // The window title while a timer runs: the first running one's time.
    static QString windowTitle(const EntryTimerTable& table, const QString& title);

Q_SIGNALS:
    void completeRequested(int slot);
    void continueRequested();

private:
    struct Chip {
        int slot = -1;
        QWidget* box = nullptr;
        QLabel* text = nullptr;
        QToolButton* pause = nullptr;
    };

    void rebuild();
    void updateTimes();
    Chip makeChip(int slot);

    TimerKeeper& m_keeper;
    FlowLayout* m_chips = nullptr;
    QLabel* m_idle = nullptr;
    QToolButton* m_continue = nullptr;
    QList<Chip> m_shown;
};

}  // namespace tempolatch
