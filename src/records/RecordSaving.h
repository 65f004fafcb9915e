#pragma once

#include <functional>
#include <initializer_list>

#include "platform/Clock.h"
#include "store/ClientStructure.h"
#include "store/RecordDatabase.h"
#include "store/RecordKinds.h"
#include "store/Records.h"
#include "store/StoreFailure.h"
#include "store/StoreIds.h"
#include "store/StoreTransaction.h"
#include "store/TimeEntry.h"

namespace tempolatch {

class RecordStore;

// Rewrites the record of record.recordId, or adds it (it gets its record
// id) when it has none; a record deleted meanwhile is written anew rather
// than lost.
template <typename Record>
WriteResult addOrRewrite(Records<Record>& records, Record& record) {
    WriteResult result = record.recordId != 0 ? records.update(record) : WriteResult::NotFound;
    if (result == WriteResult::NotFound) {
        record.recordId = 0;
        result = records.add(record);
    }
    return result;
}

// True when the stored record of `asRead`'s id is no longer what was read
// (another user or window wrote it since). One that is gone counts as
// unchanged: it is written anew.
template <typename Record, typename Repository>
bool changedSince(Repository& records, const Record& asRead) {
    if (asRead.recordId == 0)
        return false;
    const std::optional<Record> now = records.find(asRead.recordId);
    return now && !(*now == asRead);
}

// Saves an edited entry or expense with its modified time set to now, and
// then `addStructure(record)`, in one transaction (opening the store first
// when it is not). A refused write leaves the store's code in `error`
// ("Error: %d"). The record changes (record id, modified time) only when
// all of it was written. With `asRead` (the record as it was read when the
// editing began), a record someone else has changed since is not
// overwritten: nothing is written, the result is Refused and `error` is
// ErrorChangedElsewhere.
template <typename Record, typename AddStructure>
WriteResult saveEdited(RecordStore& store, int& error, Record& record, AddStructure addStructure,
                       const std::optional<Record>& asRead = std::nullopt) {
    Record saved = record;
    bool changedElsewhere = false;
    const StoreOutcome outcome = writeInOneTransaction(store, [&] {
        saved.modified = platform::Clock::nowFileTime();
        // Made inside: the transaction may have opened the store.
        auto records = recordsOf<Record>(store);
        // Compared under the write lock, which keeps every other writer
        // out until this save is done.
        changedElsewhere = asRead && changedSince(records, *asRead);
        if (changedElsewhere)
            return WriteResult::Refused;
        WriteResult written = addOrRewrite(records, saved);
        if (written == WriteResult::Written)
            written = addStructure(saved);
        return written;
    });
    error = changedElsewhere ? ErrorChangedElsewhere : outcome.error;
    if (outcome.result == WriteResult::Written)
        record = saved;
    return outcome.result;
}

// What an edited entry or expense names that the store may lack: the client
// (added when missing), then `underClient` with its client id (its project
// and task), then the bill-to contact; afterwards each text in the drop
// list of its kind. Stops at the first refused write.
WriteResult addClientStructure(
    RecordStore& store, const QString& client, const QString& billTo,
    const std::function<WriteResult(ClientStructure&, quint32 clientId)>& underClient);
// The client, project and task, bill-to contact and drop-list values of a
// time entry that the store lacks.
WriteResult addEntryStructure(RecordStore& store, const TimeEntry& entry);
WriteResult addListValues(RecordStore& store,
                          std::initializer_list<std::pair<ListKind, const QString*>> values);

}  // namespace tempolatch
