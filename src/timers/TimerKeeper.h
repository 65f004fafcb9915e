#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "timers/EntryTimer.h"

class QTimer;

namespace tempolatch {

// Runs the timers' one-second tick and keeps the slots in use in a small
// file of the profile, so that timers outlive a crash or a killed program:
// written whenever a slot changes, at most once a minute while timers run
// and when the program quits; removed when no slot is in use or the user
// gives the timers up.
class TimerKeeper : public QObject {
    Q_OBJECT
public:
    // How often the file follows running timers.
    static constexpr qint64 SaveIntervalSeconds = 60;

    TimerKeeper(EntryTimerTable& table, const QString& path, QObject* parent = nullptr);

    // timers.dat in the profile folder.
    static QString defaultPath();

    EntryTimerTable& table() { return m_table; }
    const QString& path() const { return m_path; }

    // Starts the one-second tick.
    void startTicking();
    // One tick at the clock's now; announced by ticked().
    void tick();
    // A slot was taken, changed or freed: the file follows at once.
    void changed();
    // A running timer pauses, a paused one runs on; others stay as they are.
    void togglePause(int slot);
    // Reads the timers a previous run left behind into the free table.
    // Running ones have gone on counting since they were last saved; one
    // that was being completed comes back paused. Returns the number of
    // timers restored.
    int restore();
    // Every running timer pauses.
    void pauseAll();
    // The user gave the timers up: the table is emptied, the file removed.
    void discard();

    // What happens to timers in use when the program quits.
    enum class AtQuit { KeepRunning, Pause, End };
    // Leaves the timers to the next start as `what` says; they are read
    // back by restore(), running ones having counted the time between.
    void quit(AtQuit what);

    // The file's content: the slots and when their elapsed times were taken.
    struct Saved {
        EntryTimerTable table;
        platform::FileTime savedAt;
    };
    // Writes the slots in use to `path` (atomically) or removes the file
    // when none is; false, with the reason in `error`, when it cannot be
    // written, and the earlier file stays.
    static bool save(const EntryTimerTable& table, platform::FileTime savedAt, const QString& path,
                     QString* error = nullptr);
    // nullopt when there is no file or it cannot be read.
    static std::optional<Saved> load(const QString& path);

Q_SIGNALS:
    void ticked();
    void timersChanged();
    // The file could not follow the timers (a full disk); said once until
    // a save succeeds again.
    void saveFailed(const QString& why);

private:
    void saveNow(platform::FileTime now);

    EntryTimerTable& m_table;
    QString m_path;
    QTimer* m_timer = nullptr;
    platform::FileTime m_lastSave;
    bool m_saveFailing = false;
};

}  // namespace tempolatch
