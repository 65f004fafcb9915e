#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <span>

#include "platform/Property.h"
#include "platform/Sqlite.h"

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

// The object store: named property databases in one SQLite file. Records are
// property lists with 32-bit record ids unique across all databases. Each
// sort order of a database is an indexed key column, so seeks and walks cost
// what they visit, never the size of the store.
class ObjectStore {
public:
    enum class Access { ReadWrite, ReadOnly };

    ~ObjectStore();

    // Opens the store file, creating it when it does not exist. A file that
    // is not a store of ours, is damaged or is locked is never touched:
    // the open fails and `error` says why.
    static std::unique_ptr<ObjectStore> open(const QString& path, Access access,
                                             const QString& collationLocale, QString* error);

    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

    // Databases.
    QList<DatabaseInfo> databases() const;
    std::optional<DatabaseInfo> databaseInfo(quint32 databaseId) const;
    // Only the sort orders, without counting the records.
    QList<quint32> sortOrdersOf(quint32 databaseId) const;
    quint32 findDatabase(const QString& name) const;  // exact name; 0 when none
    quint32 findDatabaseByType(quint32 type) const;   // the first of that type; 0 when none
    quint32 createDatabase(const QString& name, quint32 type, const QList<quint32>& sortOrders);
    bool deleteDatabase(quint32 databaseId);
    // Gives a database other sort orders (one or two) and remakes every
    // record's keys for them, in one batch.
    bool setSortOrders(quint32 databaseId, const QList<quint32>& sortOrders);
    int recordCount(quint32 databaseId) const;

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
    // New records in their order, several to a statement (a restore adds a
    // million): they get consecutive ids. Returns the first one's, 0 when
    // any was refused, and then none is added.
    quint32 addRecords(quint32 databaseId, std::span<const PropertyList> records);
    bool deleteRecord(quint32 databaseId, quint32 recordId);

    // Batches: everything between begin and commit lands together or not at
    // all. Nested batches are allowed; the outermost one takes the write lock,
    // which also serialises other processes.
    bool beginBatch();
    // Reads only, all of one moment of the store (see ReadSnapshot).
    bool beginSnapshot();
    void endSnapshot();
    bool commitBatch();
    void rollbackBatch();
    bool inBatch() const;

    // Changes made through this connection, so that cursors know when their
    // read-ahead is stale.
    quint64 writeGeneration() const { return m_generation; }
    // SQLite's data version: changes when another connection commits.
    qint64 externalDataVersion() const;

    // The error of the last refused record write or delete: SQLite's
    // extended result code, or one of these when SQLite had no part in it.
    // 0 after a write that succeeded.
    static constexpr int ErrorAccessDenied = 5;       // the store is read-only
    static constexpr int ErrorInvalidHandle = 6;      // no such database
    static constexpr int ErrorWriteFault = 29;        // refused without a reason
    static constexpr int ErrorInvalidParameter = 87;  // a property of unknown type
    static constexpr int ErrorNotFound = 1168;        // no such record
    int lastError() const { return m_lastError; }
    // The code of the last failure: a refused write's, or else SQLite's own
    // (a read that failed). Meaningful only after a failure.
    int failureCode() const;

    SqliteConnection& connection() const { return *m_db; }
    const SortKeyMaker& keys() const { return *m_keys; }

private:
    ObjectStore() = default;
    bool prepareSchema(QString* error);
    std::optional<qint64> queryNumber(const char* sql) const;
    bool rebuildTextKeysIfNeeded();
    int sortColumnOf(quint32 databaseId, quint32 sortProp) const;
    bool storeKeys(const QList<quint32>& sortOrders, quint32 recordId, const PropertyList& props);
    // Steps of every write: refuse what cannot be written, find the
    // database's sort orders, make a record's stored row and bind it.
    bool checkWritable(const PropertyList& props);
    bool lookUpSorts(quint32 databaseId);
    StoredRow storedRow(const PropertyList& record) const;
    void bindNew(SqliteStatement& insert, int row, const StoredRow& stored) const;
    bool withinRecordIds(qint64 lastId);
    void noteWrite(bool ok);
    quint32 refuse(int error);

    std::unique_ptr<SqliteConnection> m_db;
    std::unique_ptr<SortKeyMaker> m_keys;
    QString m_path;
    bool m_readOnly = false;
    quint64 m_generation = 0;
    // The sort orders of the database last written in the current batch.
    struct SortsOf {
        quint32 databaseId = 0;
        quint32 sort1 = 0;
        quint32 sort2 = 0;
        bool hasSort2 = false;
    } m_sortsOf;
    int m_lastError = 0;
    static constexpr int kRowsPerInsert = 32;
    SqliteStatement m_insertMany;  // kRowsPerInsert rows at once
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
