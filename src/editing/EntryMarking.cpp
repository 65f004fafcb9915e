#include "editing/EntryMarking.h"

#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "views/EntryCriteria.h"

namespace tempolatch::entrymarking {

namespace {

WriteResult refusedBy(TimeEntries& entries, int* error) {
    if (error)
        *error = entries.lastError();
    return WriteResult::Refused;
}

}  // namespace

WriteResult toggleStored(RecordStore& store, quint32 recordId, Mark mark, platform::FileTime now,
                         int* error) {
    if (!store.isOpen())
        return WriteResult::NotFound;
    TimeEntries entries(store.entries());
    std::optional<TimeEntry> entry = entries.find(recordId);
    if (!entry)
        return WriteResult::NotFound;
    if (mark == Mark::Billed)
        toggleBilled(*entry);
    else
        togglePaid(*entry, now);
    entry->modified = now;
    const WriteResult result = entries.update(*entry);
    return result == WriteResult::Refused ? refusedBy(entries, error) : result;
}

WriteResult removeStored(RecordStore& store, quint32 recordId, int* error) {
    if (!store.isOpen())
        return WriteResult::NotFound;
    TimeEntries entries(store.entries());
    const WriteResult result = entries.remove(recordId);
    return result == WriteResult::Refused ? refusedBy(entries, error) : result;
}

namespace detail {

BulkResult runInOneBatch(RecordStore& store, const std::function<void(BulkResult&)>& markAll,
                         const std::function<int()>& lastError) {
    BulkResult out;
    platform::ObjectStore* objects = store.objectStore();
    if (!objects || !store.isOpen()) {
        out.result = WriteResult::Refused;
        out.error = objects ? objects->lastError() : 0;
        return out;
    }
    platform::StoreBatch batch(*objects);
    if (!batch.isActive()) {
        out.result = WriteResult::Refused;
        out.error = objects->connection().lastErrorCode();
        return out;
    }
    markAll(out);
    if (out.written > 0 && out.result == WriteResult::Written && !batch.commit()) {
        out.result = WriteResult::Refused;
        out.error = objects->connection().lastErrorCode();
    }
    if (out.result != WriteResult::Written && out.result != WriteResult::Unchanged) {
        if (out.result == WriteResult::Refused && out.error == 0)
            out.error = lastError();
        // The batch takes back every record written so far.
        out.written = 0;
        out.changed = 0;
    }
    return out;
}

}  // namespace detail

BulkResult markEntries(RecordStore& store, const EntryFilter& criteria, Mark mark,
                       platform::FileTime paidDate, platform::FileTime now,
                       const std::function<void(const TimeEntry&)>& visited) {
    return markRecords<TimeEntry>(
        store, TimeEntries(store.entries()),
        [&](const std::function<bool(const TimeEntry&)>& visit) {
            forEachChosenEntry(store.entries(), criteria, visit);
        },
        mark, paidDate, now, visited);
}

}  // namespace tempolatch::entrymarking
