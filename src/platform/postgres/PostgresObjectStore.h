#pragma once

#include "platform/ObjectStore.h"

namespace tempolatch::platform {

class PgConnection;
class PgResult;

// The object store in a PostgreSQL database that several people share:
// the tables of the file store (databases, records with their key columns
// and property blobs) in the schema the address selects. Walks are keyset
// queries on the key indexes, bulk adds go through COPY, and every write
// transaction takes one advisory lock, as the file store's writes take its
// write lock, so record ids come out consecutive and never twice.
class PostgresObjectStore final : public ObjectStore {
public:
    ~PostgresObjectStore() override;

    static std::unique_ptr<ObjectStore> open(const QString& address, Access access,
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
    // Counts the change notices of other sessions (LISTEN/NOTIFY).
    qint64 externalDataVersion() const override;
    int failureCode() const override;

    void rowsAfter(quint32 databaseId, int column, const QByteArray& key, quint32 id, int limit,
                   std::deque<KeyedRow>& out) override;
    std::optional<KeyedRow> rowBefore(quint32 databaseId, int column, const QByteArray& key,
                                      quint32 id, int skip) override;
    std::optional<KeyedRow> rowById(quint32 databaseId, int column, quint32 recordId) override;
    bool createDatabaseAs(const DatabaseInfo& info) override;
    bool insertRecordsAs(quint32 databaseId, std::span<const KeyedRow> records) override;

    PgConnection& connection() const { return *m_db; }
    // The error codes of server states (SQLSTATE), as failureCode() gives them.
    static int errorCodeOf(const QByteArray& sqlState);
    static constexpr int ErrorConnectionLost = 1236;
    static constexpr int ErrorConflict = 1131;
    static constexpr int ErrorDiskFull = 112;

protected:
    std::optional<QByteArray> readProps(quint32 databaseId, quint32 recordId) const override;
    quint32 insertRow(quint32 databaseId, const StoredRow& row) override;
    bool updateRow(quint32 recordId, const StoredRow& row) override;
    quint32 insertRows(quint32 databaseId, std::span<const PropertyList> records) override;
    int backendErrorCode() const override;

private:
    PostgresObjectStore(const QString& address, bool readOnly);
    bool prepareSchema(const QString& collationLocale, QString* error);
    QString createIfEmpty(const QString& collationLocale);
    QString checkStore() const;
    bool mayWrite();
    bool rebuildKeys(quint32 databaseId, const QList<quint32>& sortOrders);
    std::optional<KeyedRow> firstRow(const PgResult& result) const;
    quint32 reserveIds(qint64 count);
    bool runWrite(const char* sql, const class PgParams& params, int expectedChanges = -1);

    std::unique_ptr<PgConnection> m_db;
    mutable qint64 m_othersChanges = 0;
};

}  // namespace tempolatch::platform
