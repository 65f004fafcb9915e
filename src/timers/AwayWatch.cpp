#include "timers/AwayWatch.h"

#include <algorithm>

namespace tempolatch {

using platform::FileTime;

namespace {

FileTime minus(FileTime time, qint64 ms) {
    const qint64 ticks = ms * FileTime::TicksPerMillisecond;
    return FileTime{quint64(std::max<qint64>(0, qint64(time.ticks) - ticks))};
}

}  // namespace

std::optional<AwayTime> AwayWatch::look(FileTime now, qint64 idleMs, bool timersRunning,
                                        int limitMinutes) {
    const qint64 lastIdle = std::exchange(m_lastIdleMs, idleMs);
    if (limitMinutes <= 0 || (!timersRunning && !m_since)) {
        m_since.reset();
        return std::nullopt;
    }
    if (m_since) {
        if (idleMs >= lastIdle)
            return std::nullopt;
        // Back: from the last input before the absence to the first after.
        const FileTime back = minus(now, idleMs);
        const qint64 seconds = std::max<qint64>(
            0, (qint64(back.ticks) - qint64(m_since->ticks)) / qint64(FileTime::TicksPerSecond));
        const AwayTime away{*std::exchange(m_since, std::nullopt), seconds};
        return away;
    }
    if (idleMs >= qint64(limitMinutes) * 60 * 1000)
        m_since = minus(now, idleMs);
    return std::nullopt;
}

QList<int> settleAway(EntryTimerTable& table, AwayAnswer answer, qint64 seconds) {
    QList<int> running;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        EntryTimer& timer = table.slot(i);
        if (timer.state != EntryTimer::Running)
            continue;
        running.append(i);
        if (answer == AwayAnswer::Keep)
            continue;
        timer.elapsedSeconds -= qint32(std::clamp<qint64>(seconds, 0, timer.elapsedSeconds));
        timer.state = EntryTimer::Paused;
    }
    return running;
}

}  // namespace tempolatch
