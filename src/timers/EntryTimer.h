#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "platform/FileTime.h"
#include "store/TimeEntry.h"

namespace tempolatch {

class Settings;

// One timer slot.
struct EntryTimer {
    enum State : quint32 { Free = 0, Running = 1, Paused = 2, Completed = 3 };

    State state = Free;
    platform::SystemTime start;
    qint32 elapsedSeconds = 0;
    QByteArray note;
    QString client, project, phase, task;
    // The entry the timer was started from (Create New Timer), if any.
    std::optional<TimeEntry> templateEntry;

    bool inUse() const { return state != Free; }
    bool operator==(const EntryTimer&) const = default;
};

// What Add Timer hands to the timer it starts.
struct TimerStart {
    QString client, project, phase, task;
    // A start the user gave (today at a chosen time); none: now.
    std::optional<platform::SystemTime> givenStart;
};

// The four timer slots of the program, one table for the whole run. The main
// window counts the slots in use for its Timers button and before closing.
class EntryTimerTable {
public:
    static constexpr int SlotCount = 4;

    // Slot i for 0 <= i < SlotCount; an index out of range is a caller's
    // mistake and gets a scratch slot instead of memory that is not ours.
    EntryTimer& slot(int i) { return validIndex(i) ? m_slots[std::size_t(i)] : m_scratch; }
    const EntryTimer& slot(int i) const {
        return validIndex(i) ? m_slots[std::size_t(i)] : m_scratch;
    }

    int countInUse() const {
        int n = 0;
        for (const EntryTimer& t : m_slots)
            n += t.inUse() ? 1 : 0;
        return n;
    }
    bool anyInUse() const { return countInUse() > 0; }
    bool anyRunning() const;
    // The lowest free slot; -1 when all four are in use.
    int firstFreeSlot() const;

    // Frees the slot; its texts stay until the slot is taken again.
    void clear(int i);
    void clearAll() {
        for (int i = 0; i < SlotCount; ++i)
            clear(i);
        m_previousTick = {};
    }

    // The one-second tick: running timers gain the whole seconds since the
    // previous tick, at least one. A clock set back never takes time away.
    void tick(platform::FileTime now);
    platform::FileTime previousTick() const { return m_previousTick; }

    // Takes the first free slot for a running timer started now, or at the
    // given start (elapsed from then; a start later than now counts
    // nothing). -1 when no slot is free.
    int start(const TimerStart& what, std::optional<TimeEntry> templateEntry,
              const platform::SystemTime& now);

private:
    static bool validIndex(int i) { return i >= 0 && i < SlotCount; }

    std::array<EntryTimer, SlotCount> m_slots;
    EntryTimer m_scratch;
    platform::FileTime m_previousTick;
};

namespace timers {

// "hh:mm:ss" of a number of seconds (3725 shows 01:02:05).
QString elapsedText(qint32 seconds);
// "h:mm" of a number of seconds (3725 shows 1:02).
QString hoursMinutesText(qint64 seconds);
// Whole seconds from `from` to `to`; negative when `to` is earlier.
qint64 secondsBetween(const platform::SystemTime& from, const platform::SystemTime& to);
// True when a start given in Add Timer lies after now (to the minute the
// picker shows, so the current minute is accepted).
bool isFutureStart(const platform::SystemTime& start, const platform::SystemTime& now);
// Today's date with the hour and minute of a picker.
platform::SystemTime startToday(const platform::SystemTime& now, int hour, int minute);
// The new entry a completed timer becomes: its template (or an empty
// entry) without record id, dated at the timer's start with that start
// time, the elapsed time as duration (by the settings' granularity), the
// timer's note and texts.
TimeEntry entryOf(const EntryTimer& timer, const Settings& settings);
// The template of Create New Timer: billed and paid entries start again
// as billable.
TimeEntry templateOf(const TimeEntry& entry);

}  // namespace timers

}  // namespace tempolatch
