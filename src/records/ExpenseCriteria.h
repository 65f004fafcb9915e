#pragma once

#include <functional>
#include <limits>

#include "platform/FileTime.h"

namespace tempolatch {

class RecordStore;

class ExpenseEntry;

// The expenses that criteria choose, for whatever walks them: the expense
// window's bulk marking, the expense CSV exports and the expense reports.
// The expense criteria sheet (expenses/ExpenseFilterSheet.h) and the
// command line fill an ExpenseFilter; ExpenseFilter::chosen() turns it into
// this plain form, so that code that cannot see the filter still walks
// exactly the expenses it chose.
struct ExpenseCriteria {
    using Match = std::function<bool(const ExpenseEntry&)>;

    // Expenses dated from `from` to `to`, both included; by default every
    // date, 0 too (an expense older data left without one).
    platform::FileTime from{0};
    platform::FileTime to{std::numeric_limits<quint64>::max()};
    // What else an expense of the range must pass; empty: every one.
    Match matches;
};

// Every chosen expense in date order, from the first dated at or after
// `from` to the last dated at or before `to`, until visit answers false.
void forEachChosenExpense(RecordStore& db, const ExpenseCriteria& criteria,
                          const std::function<bool(const ExpenseEntry&)>& visit);

}  // namespace tempolatch
