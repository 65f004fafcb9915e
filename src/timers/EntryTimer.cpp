#include "timers/EntryTimer.h"

#include <algorithm>
#include <limits>

#include "editing/EntryValues.h"
#include "settings/Settings.h"

namespace tempolatch {

using platform::FileTime;
using platform::SystemTime;

bool EntryTimerTable::anyRunning() const {
    return std::any_of(m_slots.begin(), m_slots.end(),
                       [](const EntryTimer& t) { return t.state == EntryTimer::Running; });
}

int EntryTimerTable::firstFreeSlot() const {
    for (int i = 0; i < SlotCount; ++i) {
        if (!m_slots[std::size_t(i)].inUse())
            return i;
    }
    return -1;
}

void EntryTimerTable::clear(int i) {
    if (!validIndex(i))
        return;
    EntryTimer& t = m_slots[std::size_t(i)];
    t.state = EntryTimer::Free;
    t.start = {};
    t.elapsedSeconds = 0;
    t.note.clear();
    t.templateEntry.reset();
}

void EntryTimerTable::tick(FileTime now) {
    if (m_previousTick.isNull())
        m_previousTick = now;
    // A clock set back between two ticks counts as no time passed: the
    // timers go on counting one second a tick from the new time.
    const qint64 delta = std::max<qint64>(
        0, (qint64(now.ticks) - qint64(m_previousTick.ticks)) / FileTime::TicksPerSecond);
    const qint32 gain = qint32(std::clamp<qint64>(delta, 1, std::numeric_limits<qint32>::max()));
    for (EntryTimer& t : m_slots) {
        if (t.state == EntryTimer::Running)
            t.elapsedSeconds = qint32(std::min<qint64>(qint64(t.elapsedSeconds) + gain,
                                                       std::numeric_limits<qint32>::max()));
    }
    m_previousTick = now;
}

int EntryTimerTable::start(const TimerStart& what, std::optional<TimeEntry> templateEntry,
                           const SystemTime& now) {
    const int index = firstFreeSlot();
    if (index < 0)
        return -1;
    EntryTimer& t = m_slots[std::size_t(index)];
    t.state = EntryTimer::Running;
    t.start = what.givenStart.value_or(now);
    t.elapsedSeconds = 0;
    if (what.givenStart) {
        const qint64 since = timers::secondsBetween(*what.givenStart, now);
        t.elapsedSeconds = qint32(std::clamp<qint64>(since, 0, std::numeric_limits<qint32>::max()));
    }
    t.note.clear();
    t.client = what.client;
    t.project = what.project;
    t.phase = what.phase;
    t.task = what.task;
    t.templateEntry = std::move(templateEntry);
    return index;
}

namespace timers {

QString elapsedText(qint32 seconds) {
    const qint64 s = std::max<qint64>(0, seconds);
    return QString::asprintf("%02lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
}

QString hoursMinutesText(qint64 seconds) {
    const qint64 minutes = std::max<qint64>(0, seconds) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

qint64 secondsBetween(const SystemTime& from, const SystemTime& to) {
    const auto a = platform::toFileTime(from);
    const auto b = platform::toFileTime(to);
    if (!a || !b)
        return 0;
    return (qint64(b->ticks) - qint64(a->ticks)) / FileTime::TicksPerSecond;
}

bool isFutureStart(const SystemTime& start, const SystemTime& now) {
    SystemTime minute = now;
    minute.second = 0;
    minute.milliseconds = 0;
    return secondsBetween(minute, start) > 0;
}

SystemTime startToday(const SystemTime& now, int hour, int minute) {
    SystemTime start = now;
    start.hour = quint16(hour);
    start.minute = quint16(minute);
    start.second = 0;
    start.milliseconds = 0;
    return start;
}

TimeEntry entryOf(const EntryTimer& timer, const Settings& settings) {
    TimeEntry entry = timer.templateEntry.value_or(TimeEntry());
    entry.recordId = 0;
    entryvalues::setDate(entry, timer.start.year, timer.start.month, timer.start.day);
    entryvalues::setStartTime(entry, timer.start.hour, timer.start.minute);
    entryvalues::setDurationHours(entry, timer.elapsedSeconds * (1.0 / 3600.0), settings);
    entry.note = timer.note;
    entry.client = timer.client;
    entry.project = timer.project;
    entry.phase = timer.phase;
    entry.task = timer.task;
    return entry;
}

TimeEntry templateOf(const TimeEntry& entry) {
    TimeEntry copy = entry;
    if (copy.status == EntryStatus::Billed || copy.status == EntryStatus::Paid)
        copy.status = EntryStatus::Billable;
    return copy;
}

}  // namespace timers

}  // namespace tempolatch
