#include "editing/EntryCopy.h"

#include "platform/DayChange.h"
#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

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

namespace {

template <typename Record, typename RecordsOf>
WriteResult addCopiesTo(RecordStore& store, RecordsOf records, const Record& record,
                        const QList<QDate>& days, platform::FileTime now, int* error) {
    auto refused = [&](int code) {
        if (error)
            *error = code;
        return WriteResult::Refused;
    };
    if (days.isEmpty())
        return WriteResult::Unchanged;
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !store.isOpen())
        return refused(objects ? objects->lastError() : 0);
    platform::StoreBatch batch(*objects);
    if (!batch.isActive())
        return refused(objects->connection().lastErrorCode());
    for (const QDate& day : days) {
        Record copy = record;
        copy.recordId = 0;
        const std::optional<platform::FileTime> date = onDay(record.date, day);
        if (!date)
            return WriteResult::NotStorable;  // the batch takes back the copies so far
        copy.date = *date;
        copy.modified = now;
        const WriteResult result = records.add(copy);
        if (result != WriteResult::Written)
            return result == WriteResult::Refused ? refused(objects->lastError()) : result;
    }
    if (!batch.commit())
        return refused(objects->connection().lastErrorCode());
    return WriteResult::Written;
}

}  // namespace

WriteResult addCopies(RecordStore& store, const TimeEntry& entry, const QList<QDate>& days,
                      platform::FileTime now, int* error) {
    return addCopiesTo(store, TimeEntries(store.entries()), entry, days, now, error);
}

WriteResult addCopies(RecordStore& store, const ExpenseEntry& expense, const QList<QDate>& days,
                      platform::FileTime now, int* error) {
    return addCopiesTo(store, Expenses(store.expenses()), expense, days, now, error);
}

}  // namespace tempolatch::entrycopy
