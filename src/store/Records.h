#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/FileTime.h"
#include "platform/Property.h"
#include "store/RecordDatabase.h"
#include "store/StoreIds.h"
#include "store/StoredRecord.h"

namespace tempolatch {

// The records of one database, reached by record id or walked in the
// database's order. The database's cursor stays in here: callers never seek.
class RecordAccess {
public:
    using Visit = std::function<bool(quint32 recordId, const platform::PropertyList& props)>;

    explicit RecordAccess(RecordDatabase& db) : m_db(db) {}

    bool isOpen() const { return m_db.isOpen(); }
    // The number of records; -1 when the database is not open.
    int count() const { return m_db.recordCount(); }
    // The id of the database in the store, as the store's journal names it.
    quint32 databaseId() const { return m_db.databaseId(); }
    std::optional<platform::PropertyList> findProperties(quint32 recordId);
    // Removes the record; NotFound when there is none of that id.
    WriteResult remove(quint32 recordId);
    // Removes the records of these ids that are still there (one statement
    // each, no seek); false at the first refused write.
    bool removeEach(const std::vector<quint32>& recordIds);
    // The store's error code of the last refused write ("Error: %d").
    int lastError() const { return m_db.lastError(); }

    // Every record in the database's order until visit answers false.
    // False when a record cannot be read; the walk stops there.
    bool forEachStored(const Visit& visit);
    // The records dated from `from` to `to` (both included) in date order,
    // for databases sorted by a date: one seek, then one step per record.
    void forEachStoredInRange(platform::FileTime from, platform::FileTime to, const Visit& visit);
    // Every record from the last one backwards until visit answers false;
    // records that cannot be read are skipped.
    void forEachStoredBackward(const Visit& visit);

protected:
    WriteResult addRecord(StoredRecord& record, quint16 changeFlags);
    WriteResult updateRecord(StoredRecord& record, quint16 changeFlags);

    RecordDatabase& m_db;
};

// The same for records of one kind, which read and write themselves.
template <typename Record>
class Records : public RecordAccess {
public:
    using RecordAccess::RecordAccess;
    using RecordVisit = std::function<bool(const Record&)>;

    std::optional<Record> find(quint32 recordId) {
        const auto props = findProperties(recordId);
        if (!props)
            return std::nullopt;
        return decoded(recordId, *props);
    }
    // A new record; it gets its record id. Callers set `modified`.
    WriteResult add(Record& record, quint16 changeFlags = DefaultChangeFlags) {
        return addRecord(record, changeFlags);
    }
    // New records in their order, several to a statement: all are added
    // and get their ids, or none is. For the many records of a restore.
    WriteResult addAll(std::vector<Record>& records, quint16 changeFlags = DefaultChangeFlags) {
        std::vector<StoredRecord*> stored;
        stored.reserve(records.size());
        for (Record& record : records)
            stored.push_back(&record);
        return m_db.addAll(stored, changeFlags);
    }
    // Rewrites the record of record.recordId; NotFound when it is gone.
    WriteResult update(Record& record, quint16 changeFlags = DefaultChangeFlags) {
        return updateRecord(record, changeFlags);
    }

    bool forEach(const RecordVisit& visit) {
        return forEachStored([&](quint32 id, const platform::PropertyList& props) {
            return visit(decoded(id, props));
        });
    }
    void forEachInRange(platform::FileTime from, platform::FileTime to, const RecordVisit& visit) {
        forEachStoredInRange(from, to, [&](quint32 id, const platform::PropertyList& props) {
            return visit(decoded(id, props));
        });
    }
    void forEachBackward(const RecordVisit& visit) {
        forEachStoredBackward([&](quint32 id, const platform::PropertyList& props) {
            return visit(decoded(id, props));
        });
    }

private:
    static Record decoded(quint32 recordId, const platform::PropertyList& props) {
        Record record;
        record.recordId = recordId;
        record.setFromProperties(props);
        return record;
    }
};

}  // namespace tempolatch
