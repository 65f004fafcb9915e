#pragma once

#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

namespace tempolatch {

// Where the store keeps the records of one kind, so that what is written
// the same way for entries and expenses is written by one template.
template <typename Record>
struct RecordKind;

template <>
struct RecordKind<TimeEntry> {
    using Repository = TimeEntries;
    static TimeEntryDatabase& database(RecordStore& store) { return store.entries(); }
};

template <>
struct RecordKind<ExpenseEntry> {
    using Repository = Expenses;
    static ExpenseDatabase& database(RecordStore& store) { return store.expenses(); }
};

// The stored records of that kind.
template <typename Record>
typename RecordKind<Record>::Repository recordsOf(RecordStore& store) {
    return typename RecordKind<Record>::Repository(store);
}

}  // namespace tempolatch
