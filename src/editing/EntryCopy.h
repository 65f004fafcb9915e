#pragma once

#include <QDate>
#include <QList>

#include "platform/FileTime.h"
#include "store/RecordDatabase.h"

namespace tempolatch {

class ExpenseEntry;
class RecordStore;
class TimeEntry;

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

// Adds one copy of `entry` a day, each a new record stamped `now`, every
// other field as the entry has it but its billing: a copy is work still to
// be billed, so a Billed or Paid entry's copies are Billable, and no copy
// has a paid date. All copies are written or none is; `error` gets the
// store's code of a refused write.
WriteResult addCopies(RecordStore& store, const TimeEntry& entry, const QList<QDate>& days,
                      platform::FileTime now, int* error = nullptr);
// The same for an expense, into the expenses.
WriteResult addCopies(RecordStore& store, const ExpenseEntry& expense, const QList<QDate>& days,
                      platform::FileTime now, int* error = nullptr);

}  // namespace entrycopy
}  // namespace tempolatch
