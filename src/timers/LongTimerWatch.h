#pragma once

#include <QList>
#include <array>
#include <optional>

#include "timers/EntryTimer.h"

namespace tempolatch {

// Finds the timers that have run longer than the user expects a timer to
// run, so that one left running is noticed. Each timer is told once; a
// slot taken by a new timer counts anew.
class LongTimerWatch {
public:
    // The slots in use whose timers have counted more than `hours` and were
    // not told before. 0 is off.
    QList<int> due(const EntryTimerTable& table, int hours);

private:
    // The start of the timer each slot was told about.
    std::array<std::optional<platform::SystemTime>, EntryTimerTable::SlotCount> m_told;
};

// "The timer for Acme / Website has run for 8:05 hours." The summary and body
// of the notification.
QString longTimerSummary();
QString longTimerBody(const EntryTimer& timer);

}  // namespace tempolatch
