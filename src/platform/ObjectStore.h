#pragma once

#include <QList>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <span>

#include "platform/Property.h"

namespace tempolatch::platform {

class SortKeyMaker;
class DatabaseHandle;

struct DatabaseInfo {
    quint32 id = 0;
    QString name;
    quint32 type = 0;
    QList<quint32> sortOrders;  // one or two sort property ids
    int recordCount = 0;
};

// The object store: named property databases. Records are property lists
// with 32-bit record ids unique across all databases. Each sort order of a
// database is an indexed key column, so seeks and walks cost what they
// visit, never the size of the store.
//
// Two backends keep it: a SQLite file in the profile (the default) and a
// PostgreSQL server that several people share. Everything above this class
// sees the same operations, errors and batches from both; the stored keys
// and property blobs are byte for byte the same.
class ObjectStore {
public:
    enum class Access { ReadWrite, ReadOnly };

    virtual ~ObjectStore();

    // Opens the store at `address`: a postgresql:// (or postgres://) address
    // of a server database, otherwise the path of a store file, created when
    // it does not exist. A file or database that is not a store of ours, is
    // damaged or is locked is never touched: the open fails and `error` says why.
    static std::unique_ptr<ObjectStore> open(const QString& address, Access access,
                                             const QString& collationLocale, QString* error);

    bool isReadOnly() const { return m_readOnly; }
    // The address it was opened with: the file path, or the server address.
    QString path() const { return m_path; }

    // Databases.
    QList<DatabaseInfo> databases() const;  // in id order
    virtual QList<quint32> databaseIds() const = 0;
    virtual std::optional<DatabaseInfo> databaseInfo(quint32 databaseId) const = 0;
    // Only the sort orders, without counting the records.
    virtual QList<quint32> sortOrdersOf(quint32 databaseId) const = 0;
    virtual quint32 findDatabase(const QString& name) const = 0;  // exact name; 0 when none
    // The first of that type; 0 when none.
    virtual quint32 findDatabaseByType(quint32 type) const = 0;
    virtual quint32 createDatabase(const QString& name, quint32 type,
                                   const QList<quint32>& sortOrders) = 0;
    virtual bool deleteDatabase(quint32 databaseId) = 0;
    // Gives a database other sort orders (one or two) and remakes every
    // record's keys for them, in one batch.
    virtual bool setSortOrders(quint32 databaseId, const QList<quint32>& sortOrders) = 0;
    virtual int recordCount(quint32 databaseId) const = 0;

    // An open database, walked in the order of one of its sort properties.
    std::unique_ptr<DatabaseHandle> openDatabase(quint32 databaseId, quint32 sortProp);

    // Records.
    std::optional<PropertyList> readRecord(quint32 databaseId, quint32 recordId) const;
    // recordId 0 adds a new record. Properties flagged PropDeleteFlag are
    // removed; the others replace properties of the same id or are appended.
    // Returns the record id, 0 on failure. `stored`, when given, gets the
    // record as it now stands: its keys and encoded properties.
    struct StoredRow {
        QByteArray k1, k2, props;
    };
    quint32 writeRecord(quint32 databaseId, quint32 recordId, const PropertyList& props,
                        StoredRow* stored = nullptr);
    // New records in their order (a restore adds a million): they get
    // consecutive ids. Returns the first one's, 0 when any was refused, and
    // then none is added.
    quint32 addRecords(quint32 databaseId, std::span<const PropertyList> records);
    virtual bool deleteRecord(quint32 databaseId, quint32 recordId) = 0;

    // Batches: everything between begin and commit lands together or not at
    // all. Nested batches are allowed; the outermost one takes the write lock,
    // which also serialises other processes.
    virtual bool beginBatch() = 0;
    // Reads only, all of one moment of the store (see ReadSnapshot).
    virtual bool beginSnapshot() = 0;
    virtual void endSnapshot() = 0;
    virtual bool commitBatch() = 0;
    virtual void rollbackBatch() = 0;
    virtual bool inBatch() const = 0;

    // Changes made through this connection, so that cursors know when their
    // read-ahead is stale.
    quint64 writeGeneration() const { return m_generation; }
    // Changes when another connection commits.
    virtual qint64 externalDataVersion() const = 0;

    // The error of the last refused record write or delete: the backend's
    // code, or one of these when the backend had no part in it.
    // 0 after a write that succeeded.
    static constexpr int ErrorAccessDenied = 5;       // the store is read-only
    static constexpr int ErrorInvalidHandle = 6;      // no such database
    static constexpr int ErrorWriteFault = 29;        // refused without a reason
    static constexpr int ErrorInvalidParameter = 87;  // a property of unknown type
    static constexpr int ErrorNotFound = 1168;        // no such record
    int lastError() const { return m_lastError; }
    // The code of the last failure: a refused write's, or else the backend's
    // own (a read that failed). Meaningful only after a failure.
    virtual int failureCode() const = 0;

    const SortKeyMaker& keys() const { return *m_keys; }

    // What a cursor reads: a record's id, its key in the walked sort order
    // and its encoded properties. Column 1 or 2 is the sort order walked.
    struct KeyedRow {
        quint32 id = 0;
        QByteArray key;
        QByteArray props;
    };
    // Up to `limit` records after (key, id) in key order, appended to `out`.
    virtual void rowsAfter(quint32 databaseId, int column, const QByteArray& key, quint32 id,
                           int limit, std::deque<KeyedRow>& out) = 0;
    // The record `skip` places before the last one before (key, id).
    virtual std::optional<KeyedRow> rowBefore(quint32 databaseId, int column, const QByteArray& key,
                                              quint32 id, int skip) = 0;
    virtual std::optional<KeyedRow> rowById(quint32 databaseId, int column, quint32 recordId) = 0;

    // For copying a whole store into an empty one: a database under the id
    // it has in the other store, and its records under theirs (their keys
    // made anew; `key` is not read). Only inside a batch.
    virtual bool createDatabaseAs(const DatabaseInfo& info) = 0;
    virtual bool insertRecordsAs(quint32 databaseId, std::span<const KeyedRow> records) = 0;

protected:
    ObjectStore(const QString& path, bool readOnly);

    // The backend's side of the writes, on rows whose keys are made.
    virtual std::optional<QByteArray> readProps(quint32 databaseId, quint32 recordId) const = 0;
    virtual quint32 insertRow(quint32 databaseId, const StoredRow& row) = 0;
    virtual bool updateRow(quint32 recordId, const StoredRow& row) = 0;
    // New records under consecutive ids: the first one's, 0 when refused.
    virtual quint32 insertRows(quint32 databaseId, std::span<const PropertyList> records) = 0;
    // The backend's code for the last thing that went wrong; 0 when none.
    virtual int backendErrorCode() const = 0;

    // The sort orders of the database last written in the current batch.
    struct SortsOf {
        quint32 databaseId = 0;
        quint32 sort1 = 0;
        quint32 sort2 = 0;
        bool hasSort2 = false;
    };
    const SortsOf& sortsOf() const { return m_sortsOf; }
    void forgetSorts() { m_sortsOf = {}; }
    // The stored row of a record for the database looked up last.
    StoredRow storedRow(const PropertyList& record) const;
    StoredRow newRow(const PropertyList& changes) const;
    bool checkWritable(const PropertyList& props);
    bool lookUpSorts(quint32 databaseId);
    void noteWrite(bool ok);
    quint32 refuse(int error);
    void setLastError(int error) { m_lastError = error; }
    void bumpGeneration() { ++m_generation; }
    void setKeys(std::unique_ptr<SortKeyMaker> keys);
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

private:
    std::unique_ptr<SortKeyMaker> m_keys;
    QString m_path;
    bool m_readOnly = false;
    quint64 m_generation = 0;
    SortsOf m_sortsOf;
    int m_lastError = 0;
};

// Batch guard: rolls back unless committed.
class StoreBatch {
public:
    explicit StoreBatch(ObjectStore& store) : m_store(store), m_active(store.beginBatch()) {}
    ~StoreBatch() {
        if (m_active)
            m_store.rollbackBatch();
    }
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;
    bool isActive() const { return m_active; }
    // A commit that fails is taken back whole; the store's lastError()
    // says why.
    bool commit() {
        m_active = false;
        if (m_store.commitBatch())
            return true;
        m_store.rollbackBatch();
        return false;
    }

private:
    ObjectStore& m_store;
    bool m_active;
};

// Snapshot guard: everything read through the store while it lives sees
// one state of the store, whatever other connections commit meanwhile.
// Backups and dumps read through one, so that they never mix old and new.
class ReadSnapshot {
public:
    explicit ReadSnapshot(ObjectStore& store) : m_store(store), m_active(store.beginSnapshot()) {}
    ~ReadSnapshot() {
        if (m_active)
            m_store.endSnapshot();
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;
    bool isActive() const { return m_active; }

private:
    ObjectStore& m_store;
    bool m_active;
};

}  // namespace tempolatch::platform
