#pragma once

#include <QList>
#include <optional>

#include "platform/FileTime.h"
#include "timers/EntryTimer.h"

namespace tempolatch {

// A stretch of time the user was away while timers ran.
struct AwayTime {
    platform::FileTime since;  // when the keyboard and mouse were last used
    qint64 seconds = 0;        // until they were used again
};

// Watches the idle time while timers run. Once it reaches the limit, the
// user is away since the last input; the first look that finds the idle
// time shorter than the look before (someone touched keyboard or mouse)
// ends the absence, which is told once.
class AwayWatch {
public:
    // One look at `now` with the desktop's idle time. `limitMinutes` 0 is
    // off. Gives the time away on the look that finds the user back.
    std::optional<AwayTime> look(platform::FileTime now, qint64 idleMs, bool timersRunning,
                                 int limitMinutes);
    bool isAway() const { return m_since.has_value(); }

private:
    std::optional<platform::FileTime> m_since;
    qint64 m_lastIdleMs = 0;
};

// What the user does with the time away.
enum class AwayAnswer {
    Keep,  // it counts
    Drop,  // the timers pause, as if paused when the user left
    Stop,  // as Drop; then each timer is completed into its entry
};

// Applies the answer to every running timer: Drop and Stop take the time
// away off (never more than a timer has) and pause them. Returns the slots
// that were running.
QList<int> settleAway(EntryTimerTable& table, AwayAnswer answer, qint64 seconds);

}  // namespace tempolatch
