#pragma once

#include <QDate>
#include <QList>

#include "platform/FileTime.h"
#include "store/RecordDatabase.h"
#include "store/RecordKinds.h"
#include "store/StoreTransaction.h"

namespace tempolatch {

// Copy...: one entry (or expense) copied to other days, at its own time of day. Plain
// functions, so that the rules are tested without the dialog.
namespace entrycopy {

enum class Target {
    Date,        // one copy, on the picked day
    RestOfWeek,  // every day after the entry's up to the end of its week
    EndDate,     // every day after the entry's up to the end date
};

struct Choice {
    Target target = Target::Date;
    QDate date;     // Target::Date
    QDate endDate;  // Target::EndDate, itself included
    bool includeWeekend = false;
};

// More copies than a year's days are asked about first: a far end date is
// more often a slip than a wish.
inline constexpr int MostCopiesUnasked = 366;

// The days the copies go to, in order. Without "Include weekend" no copy
// lands on a Saturday or Sunday, and none leaves the entry's week for the
// next one. Weeks end on Saturday, or on Sunday when they start on Monday.
QList<QDate> copyDays(const QDate& entryDay, const Choice& choice, bool weekStartsMonday);

// The entry moved to `day`, its time of day (and with it its start time)
// kept; nullopt when the day cannot be stored.
std::optional<platform::FileTime> onDay(platform::FileTime when, const QDate& day);

// Adds one copy of the entry or expense a day, each a new record stamped
// `now`, every other field as the record has it but its billing: a copy is
// work still to be billed, so a Billed or Paid record's copies are Billable,
// and no copy has a paid date. All copies are written or none is; `error`
// gets the store's code of a refused write.
template <typename Record>
WriteResult addCopies(RecordStore& store, const Record& record, const QList<QDate>& days,
                      platform::FileTime now, int* error = nullptr) {
    if (days.isEmpty())
        return WriteResult::Unchanged;
    StoreOutcome outcome{WriteResult::Refused, store.lastError()};
    if (store.isOpen()) {
        outcome = writeInOneTransaction(store, [&] {
            auto records = recordsOf<Record>(store);
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

// Copy... on several records: each copied to the days `choice` gives from
// its own date (as addCopies does it), all of them in one transaction.
// `written` gets the number of copies added.
template <typename Record>
WriteResult addCopiesOfEach(RecordStore& store, const QList<Record>& records, const Choice& choice,
                            bool weekStartsMonday, platform::FileTime now, int* error = nullptr,
                            int* written = nullptr) {
    int added = 0;
    int refusal = 0;
    const StoreOutcome outcome = writeInOneTransaction(store, [&] {
        WriteResult result = WriteResult::Unchanged;
        for (const Record& record : records) {
            const QList<QDate> days =
                copyDays(platform::dateTimeOf(record.date).date(), choice, weekStartsMonday);
            const WriteResult one = addCopies(store, record, days, now, &refusal);
            if (!succeeded(one))
                return one;
            if (one == WriteResult::Written) {
                result = one;
                added += int(days.size());
            }
        }
        return result;
    });
    if (error && outcome.result == WriteResult::Refused)
        *error = refusal != 0 ? refusal : outcome.error;
    if (written)
        *written = outcome.succeeded() ? added : 0;
    return outcome.result;
}

}  // namespace entrycopy
}  // namespace tempolatch
