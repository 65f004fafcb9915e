#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

#include "store/RecordDatabase.h"

namespace tempolatch {

namespace platform {
class ObjectStore;
}
class RecordStore;

// One record as a piece of work left it: what it held before (nullopt: it
// was not there) and what it holds after (nullopt: it was deleted), as the
// store encodes its properties.
struct RecordChange {
    quint32 databaseId = 0;
    quint32 recordId = 0;
    std::optional<QByteArray> before;
    std::optional<QByteArray> after;

    bool operator==(const RecordChange&) const = default;
};

// Notes every record written through the databases of the store while it
// lives (adds, rewrites, deletes), whoever writes it, so that the work can
// be put back later. The client id counter is not a record of any database
// and is never noted: ids only grow. Journals nest.
class RecordJournal {
public:
    explicit RecordJournal(RecordStore& store);
    ~RecordJournal();
    RecordJournal(const RecordJournal&) = delete;
    RecordJournal& operator=(const RecordJournal&) = delete;

    // Each record written since, once, in the order of its first write,
    // with what it held before that write and what it holds now; a record
    // that is back as it was is left out.
    QList<RecordChange> changes() const;

    // The databases tell every journal of their store before they rewrite
    // or delete a record, and after they added one.
    static void aboutToWrite(platform::ObjectStore* store, quint32 databaseId, quint32 recordId);
    static void added(platform::ObjectStore* store, quint32 databaseId, quint32 recordId);

private:
    bool isOf(const platform::ObjectStore* writer) const;
    void note(platform::ObjectStore* writer, quint32 databaseId, quint32 recordId, bool isNew);

    platform::ObjectStore* m_store;
    QList<QPair<quint32, quint32>> m_order;  // (database, record) as first written
    QHash<QPair<quint32, quint32>, std::optional<QByteArray>> m_before;
};

// The record as the store holds it now; nullopt when there is none.
std::optional<QByteArray> storedRecord(RecordStore& store, quint32 databaseId, quint32 recordId);
// True while the database of that id is in the store (a restore or Remove
// All Data makes the databases anew, under new ids).
bool databaseExists(RecordStore& store, quint32 databaseId);
// Makes the record hold exactly `props` (nullopt: deletes it); a record that
// is gone comes back under its own id, which the store never gives again.
// Only inside a StoreTransaction.
WriteResult putRecord(RecordStore& store, quint32 databaseId, quint32 recordId,
                      const std::optional<QByteArray>& props);

}  // namespace tempolatch
