#pragma once

#include <functional>
#include <optional>

#include "store/TimeEntry.h"

class QWidget;

namespace tempolatch {

struct Context;
class CommandTable;
class TimerKeeper;

// What the timer commands need of the window they run in.
struct TimerCommandHost {
    Context* context = nullptr;
    QWidget* parent = nullptr;
    TimerKeeper* keeper = nullptr;
    // The record id of the selected entry; 0 when none is selected.
    std::function<quint32()> selectedEntry;
    // After an entry was saved from a completed timer.
    std::function<void(std::optional<quint32>)> saved;
};

namespace timercommands {

// The Timers dialog; `templateEntry` with `autoAdd` runs Add Timer at once
// from that entry. A timer completed there becomes an entry. Returns the
// record id of that entry when it was saved.
std::optional<quint32> openTimers(const TimerCommandHost& host, const TimeEntry* templateEntry,
                                  bool autoAdd);
// Create New Timer: a timer for the same work as the stored entry, which
// is its template (billed and paid lowered to billable).
std::optional<quint32> createTimerFrom(const TimerCommandHost& host, quint32 recordId);
// Continues the work of the stored entry: a timer for it starts now, with
// no dialog. False when there is no such entry or no free slot.
bool continueEntry(Context& context, TimerKeeper& keeper, quint32 recordId);
// Turns the timer of the slot into a new entry in the entry editor. Saved,
// the slot is freed; cancelled, the timer goes back to its slot, paused,
// with its time and note, so that no tracked time is lost.
std::optional<quint32> completeTimer(Context& context, QWidget* parent, TimerKeeper& keeper,
                                     int slot);

}  // namespace timercommands

// Registers Timers... and Create New Timer....
void registerTimerCommands(CommandTable& table, const TimerCommandHost& host);

}  // namespace tempolatch
