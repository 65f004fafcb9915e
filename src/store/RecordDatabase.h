#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <span>

#include "platform/DatabaseHandle.h"
#include "platform/FileTime.h"
#include "platform/Property.h"

namespace tempolatch {

namespace platform {
class ObjectStore;
}
class StoredRecord;

// How a read of a record ended.
enum class ReadResult { Read, NoCurrentRecord, Failed };

// How a write ended. Unchanged: nothing needed writing (an empty name, or a
// value already there). Refused: the store refused it; its error code says why.
enum class WriteResult { Written, Unchanged, NotStorable, NotFound, Refused };

inline bool succeeded(WriteResult result) {
    return result == WriteResult::Written || result == WriteResult::Unchanged;
}

// One database of the store with its seek pointer: the base of every
// database class. Derived classes give the name, type id and sort orders.
class RecordDatabase {
public:
    // Without a store (nullptr) every open and seek fails.
    explicit RecordDatabase(platform::ObjectStore* store);
    virtual ~RecordDatabase();
    RecordDatabase(const RecordDatabase&) = delete;
    RecordDatabase& operator=(const RecordDatabase&) = delete;

    // Opens the database, creating it when missing. The notify target is
    // told of changes by the store's change watcher.
    virtual bool open(quint32 flags = 0, QObject* notifyTarget = nullptr);
    virtual bool create();
    void close();

    bool exists(const QString& name) const;
    bool isOpen() const { return m_handle != nullptr; }
    QString name() const { return m_name; }
    quint32 databaseId() const { return m_databaseId; }
    QObject* notifyTarget() const { return m_notifyTarget; }
    quint32 currentId() const { return m_currentId; }

    virtual QString databaseName() const = 0;
    virtual quint32 typeId() const = 0;
    virtual QList<quint32> sortOrders() const = 0;
    virtual quint32 sortProperty() const { return sortOrders().first(); }

    // Seeks return the record id found (0: none) and make it current.
    quint32 seekFirst(const platform::Property& key);  // first equal; remembered
    quint32 seekFirst();                               // beginning
    quint32 seekNext();  // next equal to the remembered key, or simply next
    quint32 seekRecord(quint32 recordId);
    quint32 seekFrom(platform::FileTime instant);  // first dated at or after
    quint32 seekLast();
    quint32 seekPrevious();  // the record before the current one

    // The first record whose `key` property equals the key and that `match`
    // accepts; 0 when none. The key's property must be one of the sort
    // orders: only the records with an equal key are read. Leaves the
    // current record as it is.
    quint32 findEqual(const platform::Property& key,
                      const std::function<bool(const platform::PropertyList&)>& match);

    ReadResult readCurrent(platform::PropertyList& props);
    ReadResult readProperty(platform::PropertyList& props, std::initializer_list<quint32> ids);

    // A new record, or the current one rewritten.
    WriteResult add(StoredRecord& record, quint16 changeFlags);
    WriteResult update(StoredRecord& record, quint16 changeFlags);
    // New records in their order, several to a statement: all are written
    // and get their record ids, or none is (NotStorable or Refused). No
    // record is current afterwards.
    WriteResult addAll(std::span<StoredRecord* const> records, quint16 changeFlags);
    // Raw writes: a new record (returns its id) or the current one.
    quint32 addProperties(const platform::PropertyList& props);
    bool updateProperties(const platform::PropertyList& props);

    bool deleteCurrent();
    bool deleteRecord(quint32 recordId);
    // Projects, tasks, contacts and rates: every record of the client.
    void deleteAllOfClient(quint32 clientId);

    int recordCount() const;
    // The system error of the last refused write ("Error: %d").
    int lastError() const;

    // passed | stored, and 7 where both are 3.
    quint16 changeFlagsForUpdate(quint16 passed);

    platform::ObjectStore* objectStore() const { return m_store; }

private:
    quint32 track(quint32 found);
    // Databases made before a sort order was added get it on open.
    bool ensureSortOrders();
    platform::DatabaseHandle* lookupHandle(quint32 sortProp);

    platform::ObjectStore* m_store;
    std::unique_ptr<platform::DatabaseHandle> m_handle;
    std::unique_ptr<platform::DatabaseHandle> m_lookup;  // by another sort order
    QString m_name;
    quint32 m_databaseId = 0;
    QPointer<QObject> m_notifyTarget;
    quint32 m_currentId = 0;
    std::optional<platform::Property> m_searchKey;
};

}  // namespace tempolatch
