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

BulkResult markEntries(RecordStore& store, const EntryFilter& criteria, Mark mark,
                       platform::FileTime paidDate, platform::FileTime now,
                       const std::function<void(const TimeEntry&)>& visited) {
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
    TimeEntries entries(store.entries());
    // Each write is to the entry the walk stands on and leaves its date,
    // the walk's key, as it was: the walk goes on after it.
    forEachChosenEntry(store.entries(), criteria, [&](const TimeEntry& chosen) {
        if (visited)
            visited(chosen);
        TimeEntry entry = chosen;
        if (entry.status == EntryStatus::Billable || entry.status == EntryStatus::Billed) {
            entry.status = mark == Mark::Billed ? EntryStatus::Billed : EntryStatus::Paid;
            if (mark == Mark::Paid)
                entry.paidDate = paidDate;
        }
        if (entry.status != chosen.status || entry.paidDate != chosen.paidDate)
            ++out.changed;
        entry.modified = now;
        out.result = entries.update(entry);
        if (out.result != WriteResult::Written)
            return false;
        ++out.written;
        return true;
    });
    if (out.written > 0 && out.result == WriteResult::Written && !batch.commit()) {
        out.result = WriteResult::Refused;
        out.error = objects->connection().lastErrorCode();
    }
    if (out.result != WriteResult::Written && out.result != WriteResult::Unchanged) {
        if (out.result == WriteResult::Refused && out.error == 0)
            out.error = entries.lastError();
        // The batch takes back every entry written so far.
        out.written = 0;
        out.changed = 0;
    }
    return out;
}

}  // namespace tempolatch::entrymarking
