#include "editing/EntryCopy.h"

#include "platform/DayChange.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
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
    if (days.isEmpty())
        return WriteResult::Unchanged;
    StoreOutcome outcome{WriteResult::Refused, store.lastError()};
    if (store.isOpen()) {
        outcome = writeInOneTransaction(store, [&] {
            for (const QDate& day : days) {
                Record copy = record;
                copy.recordId = 0;
                const std::optional<platform::FileTime> date = onDay(record.date, day);
                if (!date)
                    return WriteResult::NotStorable;
                copy.date = *date;
                copy.modified = now;
                if (copy.status == EntryStatus::Billed || copy.status == EntryStatus::Paid)
                    copy.status = EntryStatus::Billable;
                copy.paidDate = platform::FileTime{};
                const WriteResult result = records.add(copy);
                if (result != WriteResult::Written)
                    return result;
            }
            return WriteResult::Written;
        });
    }
    if (error && outcome.result == WriteResult::Refused)
        *error = outcome.error;
    return outcome.result;
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
