#pragma once

#include "platform/ObjectStore.h"
#include "platform/Sqlite.h"

namespace tempolatch::platform {

// The object store in one SQLite file of the profile: a table of databases
// and one of records, with an index per sort order column.
class SqliteObjectStore final : public ObjectStore {
public:
    ~SqliteObjectStore() override;

    static std::unique_ptr<ObjectStore> open(const QString& path, Access access,
                                             const QString& collationLocale, QString* error);

    QList<quint32> databaseIds() const override;
    std::optional<DatabaseInfo> databaseInfo(quint32 databaseId) const override;
    QList<quint32> sortOrdersOf(quint32 databaseId) const override;
    quint32 findDatabase(const QString& name) const override;
    quint32 findDatabaseByType(quint32 type) const override;
    quint32 createDatabase(const QString& name, quint32 type,
                           const QList<quint32>& sortOrders) override;
    bool deleteDatabase(quint32 databaseId) override;
    bool setSortOrders(quint32 databaseId, const QList<quint32>& sortOrders) override;
    int recordCount(quint32 databaseId) const override;
    bool deleteRecord(quint32 databaseId, quint32 recordId) override;

    bool beginBatch() override;
    bool beginSnapshot() override;
    void endSnapshot() override;
    bool commitBatch() override;
    void rollbackBatch() override;
    bool inBatch() const override;
    // SQLite's data version: changes when another connection commits.
    qint64 externalDataVersion() const override;
    int failureCode() const override;

    void rowsAfter(quint32 databaseId, int column, const QByteArray& key, quint32 id, int limit,
                   std::deque<KeyedRow>& out) override;
    std::optional<KeyedRow> rowBefore(quint32 databaseId, int column, const QByteArray& key,
                                      quint32 id, int skip) override;
    std::optional<KeyedRow> rowById(quint32 databaseId, int column, quint32 recordId) override;
    bool createDatabaseAs(const DatabaseInfo& info) override;
    bool insertRecordsAs(quint32 databaseId, std::span<const KeyedRow> records) override;

    SqliteConnection& connection() const { return *m_db; }

protected:
    std::optional<QByteArray> readProps(quint32 databaseId, quint32 recordId) const override;
    quint32 insertRow(quint32 databaseId, const StoredRow& row) override;
    bool updateRow(quint32 recordId, const StoredRow& row) override;
    quint32 insertRows(quint32 databaseId, std::span<const PropertyList> records) override;
    int backendErrorCode() const override;

private:
    SqliteObjectStore(const QString& path, bool readOnly);
    bool prepareSchema(QString* error);
    std::optional<qint64> queryNumber(const char* sql) const;
    bool rebuildTextKeysIfNeeded();
    bool rebuildKeys(quint32 databaseId, const QList<quint32>& sortOrders);
    bool storeKeys(const QList<quint32>& sortOrders, quint32 recordId, const PropertyList& props);
    void bindNew(SqliteStatement& insert, int row, const StoredRow& stored) const;
    bool withinRecordIds(qint64 lastId);

    std::unique_ptr<SqliteConnection> m_db;
    static constexpr int kRowsPerInsert = 32;
    SqliteStatement m_insertMany;  // kRowsPerInsert rows at once
};

}  // namespace tempolatch::platform
