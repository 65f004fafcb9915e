#include "records/RecordMarking.h"

#include "records/EntryCriteria.h"
#include "store/RecordStore.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntries.h"

namespace tempolatch::entrymarking {

namespace detail {

BulkResult runInOneBatch(RecordStore& store, const std::function<void(BulkResult&)>& markAll) {
    BulkResult out;
    if (!store.isOpen()) {
        out.result = WriteResult::Refused;
        out.error = store.lastError();
        return out;
    }
    StoreTransaction transaction(store);
    if (transaction.isActive())
        markAll(out);
    const StoreOutcome ended = transaction.finish(out.result);
    if (!ended.succeeded()) {
        // Every record written so far was taken back.
        out = BulkResult{ended.result, 0, 0, ended.error};
    }
    return out;
}

}  // namespace detail

BulkResult markEntries(RecordStore& store, const EntryFilter& criteria, Mark mark,
                       platform::FileTime paidDate, platform::FileTime now,
                       const std::function<void(const TimeEntry&)>& visited) {
    return markRecords<TimeEntry>(
        store, TimeEntries(store),
        [&](const std::function<bool(const TimeEntry&)>& visit) {
            forEachChosenEntry(store, criteria, visit);
        },
        mark, paidDate, now, visited);
}

}  // namespace tempolatch::entrymarking
