#pragma once

#include <functional>

#include "platform/FileTime.h"
#include "store/RecordDatabase.h"
#include "store/RecordValues.h"

namespace tempolatch {

class EntryFilter;
class RecordStore;
class TimeEntry;

// The status changes of the entry menu and of the bulk marking commands,
// and the deletion of an entry. Every write stamps the modified time.
namespace entrymarking {

// The rules are the same for an entry and an expense (any record with a
// status and a paid date).
// Mark As Billed: Non Billable or Billable becomes Billed; Billed or Paid
// goes back to Billable.
template <typename Record>
void toggleBilled(Record& record) {
    record.status = record.status == EntryStatus::Billed || record.status == EntryStatus::Paid
                        ? EntryStatus::Billable
                        : EntryStatus::Billed;
}
// Mark As Paid: any status but Paid becomes Paid, paid `now`; Paid goes
// back to Billed and keeps its paid date.
template <typename Record>
void togglePaid(Record& record, platform::FileTime now) {
    if (record.status == EntryStatus::Paid) {
        record.status = EntryStatus::Billed;
        return;
    }
    record.status = EntryStatus::Paid;
    record.paidDate = now;
}

enum class Mark { Billed, Paid };

// One of the two on the stored entry of that record id, written back.
// NotFound when the entry is gone; `error` gets the store's code of a
// refused write.
WriteResult toggleStored(RecordStore& store, quint32 recordId, Mark mark, platform::FileTime now,
                         int* error = nullptr);
// Deletes the stored entry of that record id.
WriteResult removeStored(RecordStore& store, quint32 recordId, int* error = nullptr);

// How a bulk marking ended.
struct BulkResult {
    WriteResult result = WriteResult::Unchanged;
    int written = 0;  // entries written back (all of them or, after a failure, none)
    int changed = 0;  // of those, entries whose status changed
    int error = 0;    // the store's code of a refused write
};

// Mark Billed Entries and Mark Paid Entries: every entry the criteria
// choose, walked from the range's start to its end, is written back stamped
// `now`; a Billable or Billed one becomes Billed, or Paid on `paidDate`.
// The whole walk is one store transaction: when any write is refused, no
// entry is changed. `visited` is told of each chosen entry, for progress.
BulkResult markEntries(RecordStore& store, const EntryFilter& criteria, Mark mark,
                       platform::FileTime paidDate, platform::FileTime now,
                       const std::function<void(const TimeEntry&)>& visited = {});

}  // namespace entrymarking
}  // namespace tempolatch
