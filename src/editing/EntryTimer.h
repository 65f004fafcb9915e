#pragma once

#include <QByteArray>
#include <QString>
#include <array>

#include "platform/FileTime.h"

namespace tempolatch {

// One timer slot. Timers live in memory only: nothing of them is stored, and
// closing the program discards them.
struct EntryTimer {
    enum State : quint32 { Free = 0, Running = 1, Paused = 2, Completed = 3 };

    State state = Free;
    platform::SystemTime start;
    qint32 elapsedSeconds = 0;
    QByteArray note;
    QString client, project, phase, task;

    bool inUse() const { return state != Free; }
};

// The four timer slots of the program, one table for the whole run. The main
// window counts the slots in use for its Timers button and before closing.
class EntryTimerTable {
public:
    static constexpr int SlotCount = 4;

    static EntryTimerTable& instance() {
        static EntryTimerTable table;
        return table;
    }

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

    // Frees the slot; its texts stay until the slot is taken again.
    void clear(int i) {
        if (!validIndex(i))
            return;
        EntryTimer& t = m_slots[std::size_t(i)];
        t.state = EntryTimer::Free;
        t.start = {};
        t.elapsedSeconds = 0;
        t.note.clear();
    }
    void clearAll() {
        for (int i = 0; i < SlotCount; ++i)
            clear(i);
    }

private:
    static bool validIndex(int i) { return i >= 0 && i < SlotCount; }

    std::array<EntryTimer, SlotCount> m_slots;
    EntryTimer m_scratch;
};

}  // namespace tempolatch
