#pragma once

#include <QList>
#include <functional>

#include "platform/FileTime.h"
#include "store/RecordDatabase.h"
#include "store/RecordKinds.h"
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

// One of the two on the stored entry or expense of that record id, written
// back stamped `now`. NotFound when it is gone; `error` gets the store's
// code of a refused write.
template <typename Record>
WriteResult toggleStored(RecordStore& store, quint32 recordId, Mark mark, platform::FileTime now,
                         int* error = nullptr) {
    if (!store.isOpen())
        return WriteResult::NotFound;
    auto records = recordsOf<Record>(store);
    std::optional<Record> record = records.find(recordId);
    if (!record)
        return WriteResult::NotFound;
    if (mark == Mark::Billed)
        toggleBilled(*record);
    else
        togglePaid(*record, now);
    record->modified = now;
    const WriteResult result = records.update(*record);
    if (result == WriteResult::Refused && error)
        *error = store.lastError();
    return result;
}

// Deletes the stored entry or expense of that record id.
template <typename Record>
WriteResult removeStored(RecordStore& store, quint32 recordId, int* error = nullptr) {
    if (!store.isOpen())
        return WriteResult::NotFound;
    const WriteResult result = recordsOf<Record>(store).remove(recordId);
    if (result == WriteResult::Refused && error)
        *error = store.lastError();
    return result;
}

// How a bulk marking ended.
struct BulkResult {
    WriteResult result = WriteResult::Unchanged;
    int written = 0;  // entries written back (all of them or, after a failure, none)
    int changed = 0;  // of those, entries whose status changed
    int error = 0;    // the store's code of a refused write
};

// The bulk rule on one record: a Billable or Billed one becomes Billed, or
// Paid on `paidDate`; any other stays as it is.
template <typename Record>
void markChosen(Record& record, Mark mark, platform::FileTime paidDate) {
    if (record.status != EntryStatus::Billable && record.status != EntryStatus::Billed)
        return;
    record.status = mark == Mark::Billed ? EntryStatus::Billed : EntryStatus::Paid;
    if (mark == Mark::Paid)
        record.paidDate = paidDate;
}

namespace detail {
// Runs `markAll` as one store transaction, committed only when every write
// it made succeeded; otherwise every record stays as it was.
BulkResult runInOneBatch(RecordStore& store, const std::function<void(BulkResult&)>& markAll);
}  // namespace detail

namespace detail {
// `write` on each record id, counted in `out`; ids it answers NotFound for
// (no longer stored, or not to be written) are passed over. False at the
// first write that did not go through.
template <typename Write>
bool writeEach(const QList<quint32>& recordIds, Write write, BulkResult& out) {
    for (const quint32 id : recordIds) {
        const WriteResult result = write(id, &out.error);
        if (result == WriteResult::NotFound)
            continue;
        out.result = result;
        if (result != WriteResult::Written)
            return false;
        ++out.written;
    }
    return true;
}

// writeEach in one batch (see runInOneBatch).
template <typename Write>
BulkResult writeEachInOneBatch(RecordStore& store, const QList<quint32>& recordIds, Write write) {
    return runInOneBatch(store, [&](BulkResult& out) { writeEach(recordIds, write, out); });
}
}  // namespace detail

// Mark As Billed or Mark As Paid, as toggleStored does it, on each of the
// records of those ids (a selection), all in one store transaction: when
// any write is refused none is kept.
template <typename Record>
BulkResult toggleStoredAll(RecordStore& store, const QList<quint32>& recordIds, Mark mark,
                           platform::FileTime now) {
    BulkResult out = detail::writeEachInOneBatch(store, recordIds, [&](quint32 id, int* error) {
        return toggleStored<Record>(store, id, mark, now, error);
    });
    out.changed = out.written;  // a toggle always changes the status
    return out;
}

// Deletes the records of those ids, likewise in one transaction.
template <typename Record>
BulkResult removeStoredAll(RecordStore& store, const QList<quint32>& recordIds) {
    return detail::writeEachInOneBatch(store, recordIds, [&](quint32 id, int* error) {
        return removeStored<Record>(store, id, error);
    });
}

// A bulk marking over any record with a status and a paid date: every
// record `forEachChosen` walks is marked by markChosen and written back
// stamped `now`, all of them in one store transaction (when any write is
// refused, none is changed). `visited` is told of each, for progress.
// Each write is to the record the walk stands on and keeps its date, the
// walk's key, as it was: the walk goes on after it.
template <typename Record, typename RecordsOf>
BulkResult markRecords(
    RecordStore& store, RecordsOf records,
    const std::function<void(const std::function<bool(const Record&)>&)>& forEachChosen, Mark mark,
    platform::FileTime paidDate, platform::FileTime now,
    const std::function<void(const Record&)>& visited = {}) {
    return detail::runInOneBatch(store, [&](BulkResult& out) {
        forEachChosen([&](const Record& chosen) {
            if (visited)
                visited(chosen);
            Record record = chosen;
            markChosen(record, mark, paidDate);
            if (record.status != chosen.status || record.paidDate != chosen.paidDate)
                ++out.changed;
            record.modified = now;
            out.result = records.update(record);
            if (out.result != WriteResult::Written)
                return false;
            ++out.written;
            return true;
        });
    });
}

// Mark Billed Entries and Mark Paid Entries on the entries the criteria
// choose, walked from the range's start to its end.
BulkResult markEntries(RecordStore& store, const EntryFilter& criteria, Mark mark,
                       platform::FileTime paidDate, platform::FileTime now,
                       const std::function<void(const TimeEntry&)>& visited = {});

}  // namespace entrymarking
}  // namespace tempolatch
