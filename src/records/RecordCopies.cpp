#include "records/RecordCopies.h"

#include "platform/DayChange.h"

namespace tempolatch::entrycopy {

namespace {

bool isWeekend(const QDate& day) {
    return day.dayOfWeek() >= Qt::Saturday;
}

// The last day of the week that holds `day`.
QDate weekEnd(const QDate& day, bool weekStartsMonday) {
    const int last = weekStartsMonday ? Qt::Sunday : Qt::Saturday;
    return day.addDays((last - day.dayOfWeek() + 7) % 7);
}

}  // namespace

QList<QDate> copyDays(const QDate& entryDay, const Choice& choice, bool weekStartsMonday) {
    if (choice.target == Target::Date)
        return choice.date.isValid() ? QList<QDate>{choice.date} : QList<QDate>{};
    const QDate last =
        choice.target == Target::RestOfWeek ? weekEnd(entryDay, weekStartsMonday) : choice.endDate;
    QList<QDate> days;
    if (!entryDay.isValid() || !last.isValid())
        return days;
    for (QDate d = entryDay.addDays(1); d <= last; d = d.addDays(1)) {
        if (choice.includeWeekend || !isWeekend(d))
            days.append(d);
    }
    return days;
}

std::optional<platform::FileTime> onDay(platform::FileTime when, const QDate& day) {
    const std::optional<platform::SystemTime> st = platform::toSystemTime(when);
    if (!st || !day.isValid() || day.year() < 1601)
        return std::nullopt;
    return platform::toFileTime(platform::onDay(*st, day));
}

}  // namespace tempolatch::entrycopy
