#include "platform/SqliteObjectStore.h"

#include <QFileInfo>
#include <optional>

#include "platform/SortKey.h"

namespace tempolatch::platform {

namespace {

// "TLST": marks a SQLite file as one of our stores.
constexpr qint64 kApplicationId = 0x544C5354;
constexpr qint64 kSchemaVersion = 1;
constexpr qint64 kMaxRecordId = 0xFFFFFFFF;

const char* const kSchema =
    "CREATE TABLE meta(name TEXT PRIMARY KEY, value TEXT);"
    "CREATE TABLE databases(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, "
    "  type INTEGER NOT NULL, sort1 INTEGER NOT NULL, sort2 INTEGER);"
    "CREATE TABLE records(id INTEGER PRIMARY KEY AUTOINCREMENT, db INTEGER NOT NULL, "
    "  k1 BLOB NOT NULL, k2 BLOB, props BLOB NOT NULL);"
    "CREATE INDEX records_k1 ON records(db, k1, id);"
    "CREATE INDEX records_k2 ON records(db, k2, id) WHERE k2 IS NOT NULL;";

// A seek past (key, id) goes in two steps, the records of the same key after
// the id, then those of greater keys: written as one "(k1, id) > (?, ?)",
// SQLite seeks by the key alone and reads every record of that key again,
// so that a walk over many equal keys cost their square.
const char* const kTiesAfter[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 = ?2 AND id > ?3 "
    "ORDER BY id LIMIT ?4",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id > ?3 "
    "ORDER BY id LIMIT ?4"};
const char* const kKeysAfter[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 > ?2 ORDER BY k1, id LIMIT ?3",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 > ?2 "
    "ORDER BY k2, id LIMIT ?3"};
const char* const kTiesBefore[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 = ?2 AND id < ?3 "
    "ORDER BY id DESC LIMIT 1 OFFSET ?4",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id < ?3 "
    "ORDER BY id DESC LIMIT 1 OFFSET ?4"};
const char* const kTiesBeforeCount[] = {
    "SELECT count(*) FROM records WHERE db = ?1 AND k1 = ?2 AND id < ?3",
    "SELECT count(*) FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 = ?2 AND id < ?3"};
const char* const kKeysBefore[] = {
    "SELECT id, k1, props FROM records WHERE db = ?1 AND k1 < ?2 "
    "ORDER BY k1 DESC, id DESC LIMIT 1 OFFSET ?3",
    "SELECT id, k2, props FROM records WHERE db = ?1 AND k2 IS NOT NULL AND k2 < ?2 "
    "ORDER BY k2 DESC, id DESC LIMIT 1 OFFSET ?3"};
const char* const kById1 = "SELECT id, k1, props FROM records WHERE id = ?1 AND db = ?2";
const char* const kById2 = "SELECT id, k2, props FROM records WHERE id = ?1 AND db = ?2";
const char* const kInsert = "INSERT INTO records(db, k1, k2, props) VALUES(?,?,?,?)";

ObjectStore::KeyedRow keyedRow(const SqliteStatement& q) {
    return {quint32(q.int64(0)), q.blob(1), q.blob(2)};
}

// The rows of a query (id, key, properties) to the end of `rows`; how many.
int fetchInto(SqliteStatement& query, std::deque<ObjectStore::KeyedRow>& rows) {
    int fetched = 0;
    while (query.step()) {
        rows.push_back(keyedRow(query));
        ++fetched;
    }
    query.reset();
    return fetched;
}

}  // namespace

SqliteObjectStore::SqliteObjectStore(const QString& path, bool readOnly)
    : ObjectStore(path, readOnly) {}

SqliteObjectStore::~SqliteObjectStore() = default;

std::optional<qint64> SqliteObjectStore::queryNumber(const char* sql) const {
    auto q = m_db->prepare(sql);
    if (!q.step())
        return std::nullopt;
    return q.int64(0);
}

std::unique_ptr<ObjectStore> SqliteObjectStore::open(const QString& path, Access access,
                                                     const QString& collationLocale,
                                                     QString* error) {
    const bool readOnly = access == Access::ReadOnly;
    if (readOnly && !QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 does not exist").arg(path);
        return nullptr;
    }
    std::unique_ptr<SqliteObjectStore> store(new SqliteObjectStore(path, readOnly));
    store->m_db = SqliteConnection::open(
        path, readOnly ? SqliteConnection::Mode::ReadOnly : SqliteConnection::Mode::ReadWriteCreate,
        error);
    if (!store->m_db)
        return nullptr;
    store->setKeys(std::make_unique<SortKeyMaker>(collationLocale));
    if (!store->prepareSchema(error))
        return nullptr;
    return store;
}

bool SqliteObjectStore::prepareSchema(QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why + QStringLiteral(": ") + path();
        return false;
    };
    // A short wait while opening: a store locked by another program is
    // reported instead of hanging the start.
    m_db->setBusyTimeout(1500);
    const auto id = queryNumber("PRAGMA application_id");
    const auto tableCount = queryNumber("SELECT count(*) FROM sqlite_master");
    if (!id || !tableCount)
        return fail(QStringLiteral("not a readable database (%1)").arg(m_db->lastError()));

    if (*id == 0 && *tableCount == 0) {
        if (isReadOnly())
            return fail(QStringLiteral("the store is empty"));
        if (!m_db->exec("PRAGMA journal_mode=WAL"))
            return fail(QStringLiteral("the store is locked (%1)").arg(m_db->lastError()));
        SqliteTransaction tx(*m_db);
        if (!tx.isActive() || !m_db->exec(kSchema) ||
            !m_db->exec("PRAGMA application_id=1414288212; PRAGMA user_version=1") || !tx.commit())
            return fail(QStringLiteral("cannot create the store (%1)").arg(m_db->lastError()));
    } else if (*id != kApplicationId) {
        return fail(QStringLiteral("not a Tempolatch store"));
    } else {
        if (queryNumber("PRAGMA user_version") != kSchemaVersion)
            return fail(QStringLiteral("a store of an unknown version"));
        if (!isReadOnly() && !m_db->exec("PRAGMA journal_mode=WAL"))
            return fail(QStringLiteral("the store is locked (%1)").arg(m_db->lastError()));
    }
    if (!queryNumber("SELECT count(*) FROM databases"))
        return fail(QStringLiteral("the store is damaged (%1)").arg(m_db->lastError()));
    m_db->exec("PRAGMA synchronous=NORMAL");
    // 8 MB of pages instead of SQLite's 2 MB: a month of a million-entry
    // store (about 16,000 records, 4 MB with their index) stays in memory
    // between two loads instead of being read again from the file.
    m_db->exec("PRAGMA cache_size=-8192");
    // A statement's or savepoint's copies of the pages it changes stay in
    // memory: in a file they cost a write each, and a restore makes many.
    m_db->exec("PRAGMA temp_store=MEMORY");
    m_db->setBusyTimeout(10000);
    if (!isReadOnly() && !rebuildTextKeysIfNeeded())
        return fail(QStringLiteral("cannot prepare the sort orders (%1)").arg(m_db->lastError()));
    return true;
}

// Text keys depend on the locale's collation; when the user's locale has
// changed since they were made, they are made again.
bool SqliteObjectStore::rebuildTextKeysIfNeeded() {
    auto current = m_db->prepare("SELECT value FROM meta WHERE name = 'collation'");
    if (current.step() && current.text(0) == keys().localeName())
        return true;

    SqliteTransaction tx(*m_db);
    if (!tx.isActive())
        return false;
    for (const DatabaseInfo& db : databases()) {
        bool hasText = false;
        for (quint32 sort : db.sortOrders)
            hasText = hasText || propTypeOf(sort) == PropText;
        if (hasText && !rebuildKeys(db.id, db.sortOrders))
            return false;
    }
    auto set = m_db->prepare("INSERT OR REPLACE INTO meta(name, value) VALUES('collation', ?)");
    set.bind(1, keys().localeName());
    return set.exec() && tx.commit();
}

bool SqliteObjectStore::rebuildKeys(quint32 databaseId, const QList<quint32>& sortOrders) {
    // In rowid order, which the key updates cannot disturb.
    auto rows = m_db->prepare("SELECT id, props FROM records NOT INDEXED WHERE db = ?");
    rows.bind(1, qint64(databaseId));
    while (rows.step()) {
        const auto props = decodeProperties(rows.blob(1));
        if (props && !storeKeys(sortOrders, quint32(rows.int64(0)), *props))
            return false;
    }
    return rows.done();
}

QList<quint32> SqliteObjectStore::databaseIds() const {
    QList<quint32> ids;
    auto q = m_db->prepare("SELECT id FROM databases ORDER BY id");
    while (q.step())
        ids.append(quint32(q.int64(0)));
    return ids;
}

std::optional<DatabaseInfo> SqliteObjectStore::databaseInfo(quint32 databaseId) const {
    auto& q = m_db->cached("SELECT name, type, sort1, sort2 FROM databases WHERE id = ?");
    q.bind(1, qint64(databaseId));
    if (!q.step())
        return std::nullopt;
    DatabaseInfo info;
    info.id = databaseId;
    info.name = q.text(0);
    info.type = quint32(q.int64(1));
    info.sortOrders.append(quint32(q.int64(2)));
    if (!q.isNull(3))
        info.sortOrders.append(quint32(q.int64(3)));
    q.reset();
    info.recordCount = recordCount(databaseId);
    return info;
}

quint32 SqliteObjectStore::findDatabase(const QString& name) const {
    auto& q = m_db->cached("SELECT id FROM databases WHERE name = ?");
    q.bind(1, name);
    const quint32 id = q.step() ? quint32(q.int64(0)) : 0;
    q.reset();
    return id;
}

quint32 SqliteObjectStore::findDatabaseByType(quint32 type) const {
    auto& q = m_db->cached("SELECT id FROM databases WHERE type = ? ORDER BY id LIMIT 1");
    q.bind(1, qint64(type));
    const quint32 id = q.step() ? quint32(q.int64(0)) : 0;
    q.reset();
    return id;
}

quint32 SqliteObjectStore::createDatabase(const QString& name, quint32 type,
                                          const QList<quint32>& sortOrders) {
    setLastError(isReadOnly() ? ErrorAccessDenied : 0);
    if (isReadOnly() || name.isEmpty() || sortOrders.isEmpty() || sortOrders.size() > 2)
        return 0;
    forgetSorts();
    auto q = m_db->prepare("INSERT INTO databases(name, type, sort1, sort2) VALUES(?,?,?,?)");
    q.bind(1, name).bind(2, qint64(type)).bind(3, qint64(sortOrders[0]));
    if (sortOrders.size() > 1)
        q.bind(4, qint64(sortOrders[1]));
    const bool ok = q.exec();
    noteWrite(ok);
    return ok ? quint32(m_db->lastInsertId()) : 0;
}

bool SqliteObjectStore::deleteDatabase(quint32 databaseId) {
    setLastError(0);
    if (isReadOnly())
        return refuse(ErrorAccessDenied) != 0;
    // Inside a caller's batch the deletion takes no savepoint of its own:
    // SQLite would keep a copy of every page it frees (all the records of the
    // database, hundreds of MB at a million entries) in memory, in case the
    // savepoint alone were taken back. The caller's batch takes it all back
    // instead when the deletion fails.
    std::optional<StoreBatch> batch;
    if (!inBatch())
        batch.emplace(*this);
    forgetSorts();
    auto records = m_db->prepare("DELETE FROM records WHERE db = ?");
    records.bind(1, qint64(databaseId));
    auto db = m_db->prepare("DELETE FROM databases WHERE id = ?");
    db.bind(1, qint64(databaseId));
    const bool ok = (!batch || batch->isActive()) && records.exec() && db.exec() &&
                    m_db->changes() == 1 && (!batch || batch->commit());
    noteWrite(ok);
    return ok;
}

bool SqliteObjectStore::setSortOrders(quint32 databaseId, const QList<quint32>& sortOrders) {
    setLastError(0);
    if (isReadOnly())
        return refuse(ErrorAccessDenied) != 0;
    if (sortOrders.isEmpty() || sortOrders.size() > 2)
        return refuse(ErrorInvalidParameter) != 0;
    forgetSorts();
    StoreBatch batch(*this);
    auto set = m_db->prepare("UPDATE databases SET sort1 = ?, sort2 = ? WHERE id = ?");
    set.bind(1, qint64(sortOrders[0])).bind(3, qint64(databaseId));
    if (sortOrders.size() > 1)
        set.bind(2, qint64(sortOrders[1]));
    const bool ok = batch.isActive() && set.exec() && m_db->changes() == 1 &&
                    rebuildKeys(databaseId, sortOrders) && batch.commit();
    noteWrite(ok);
    return ok;
}

int SqliteObjectStore::recordCount(quint32 databaseId) const {
    auto& q = m_db->cached("SELECT count(*) FROM records WHERE db = ?");
    q.bind(1, qint64(databaseId));
    const int count = q.step() ? int(q.int64(0)) : -1;
    q.reset();
    return count;
}

// Only the database's row: opening a database must not count its records.
QList<quint32> SqliteObjectStore::sortOrdersOf(quint32 databaseId) const {
    auto& q = m_db->cached("SELECT sort1, sort2 FROM databases WHERE id = ?");
    q.bind(1, qint64(databaseId));
    QList<quint32> sorts;
    if (q.step()) {
        sorts.append(quint32(q.int64(0)));
        if (!q.isNull(1))
            sorts.append(quint32(q.int64(1)));
    }
    q.reset();
    return sorts;
}

std::optional<QByteArray> SqliteObjectStore::readProps(quint32 databaseId, quint32 recordId) const {
    auto& q = m_db->cached("SELECT props FROM records WHERE id = ? AND db = ?");
    q.bind(1, qint64(recordId)).bind(2, qint64(databaseId));
    if (!q.step())
        return std::nullopt;
    const QByteArray props = q.blob(0);
    q.reset();
    return props;
}

bool SqliteObjectStore::storeKeys(const QList<quint32>& sortOrders, quint32 recordId,
                                  const PropertyList& props) {
    auto& q = m_db->cached("UPDATE records SET k1 = ?, k2 = ? WHERE id = ?");
    q.bind(1, keys().keyOf(props, sortOrders[0]));
    if (sortOrders.size() > 1)
        q.bind(2, keys().keyOf(props, sortOrders[1]));
    q.bind(3, qint64(recordId));
    return q.exec();
}

void SqliteObjectStore::bindNew(SqliteStatement& q, int row, const StoredRow& stored) const {
    const int at = row * 4;
    q.bind(at + 1, qint64(sortsOf().databaseId)).bindStatic(at + 2, stored.k1);
    if (sortsOf().hasSort2)
        q.bindStatic(at + 3, stored.k2);
    else
        q.bindNull(at + 3);
    q.bindStatic(at + 4, stored.props);
}

// Ids past the 32 bits of a record id are taken back.
bool SqliteObjectStore::withinRecordIds(qint64 lastId) {
    if (lastId <= kMaxRecordId)
        return true;
    auto undo = m_db->prepare("DELETE FROM records WHERE id > ?");
    undo.bind(1, kMaxRecordId).exec();
    return false;
}

quint32 SqliteObjectStore::insertRow(quint32, const StoredRow& row) {
    auto& q = m_db->cached(kInsert);
    bindNew(q, 0, row);
    const bool ok = q.exec() && withinRecordIds(m_db->lastInsertId());
    return ok ? quint32(m_db->lastInsertId()) : 0;
}

bool SqliteObjectStore::updateRow(quint32 recordId, const StoredRow& row) {
    auto& q = m_db->cached("UPDATE records SET k1 = ?, k2 = ?, props = ? WHERE id = ?");
    q.bindStatic(1, row.k1).bindStatic(3, row.props).bind(4, qint64(recordId));
    if (sortsOf().hasSort2)
        q.bindStatic(2, row.k2);
    return q.exec();
}

quint32 SqliteObjectStore::insertRows(quint32, std::span<const PropertyList> records) {
    if (!m_insertMany.isValid()) {
        QByteArray sql = kInsert;
        for (int i = 1; i < kRowsPerInsert; ++i)
            sql += ",(?,?,?,?)";
        m_insertMany = m_db->prepare(sql.constData());
    }
    std::vector<StoredRow> rows(std::min(records.size(), size_t(kRowsPerInsert)));
    qint64 firstId = 0;
    bool ok = m_insertMany.isValid();
    for (size_t at = 0; ok && at < records.size();) {
        // Whole groups in one statement, the rest one by one.
        const size_t count = records.size() - at >= size_t(kRowsPerInsert) ? kRowsPerInsert : 1;
        SqliteStatement& q = count > 1 ? m_insertMany : m_db->cached(kInsert);
        for (size_t i = 0; i < count; ++i) {
            rows[i] = newRow(records[at + i]);
            bindNew(q, int(i), rows[i]);
        }
        ok = q.exec();
        // One statement's rows take consecutive ids, the last one's reported.
        if (ok && firstId == 0)
            firstId = m_db->lastInsertId() - qint64(count) + 1;
        at += count;
    }
    ok = ok && withinRecordIds(m_db->lastInsertId());
    return ok ? quint32(firstId) : 0;
}

bool SqliteObjectStore::deleteRecord(quint32 databaseId, quint32 recordId) {
    setLastError(0);
    if (isReadOnly())
        return refuse(ErrorAccessDenied) != 0;
    auto& q = m_db->cached("DELETE FROM records WHERE id = ? AND db = ?");
    q.bind(1, qint64(recordId)).bind(2, qint64(databaseId));
    const bool ran = q.exec();
    const bool ok = ran && m_db->changes() == 1;
    if (ran && !ok)
        setLastError(ErrorNotFound);
    noteWrite(ok);
    return ok;
}

int SqliteObjectStore::backendErrorCode() const {
    return m_db->lastErrorCode();
}

int SqliteObjectStore::failureCode() const {
    if (lastError() != 0)
        return lastError();
    // A statement that stepped last leaves its row or done code, which is no failure.
    const int code = m_db->lastErrorCode();
    const int primary = code & 0xff;
    return primary == 100 || primary == 101 ? 0 : code;
}

bool SqliteObjectStore::beginBatch() {
    forgetSorts();
    if (isReadOnly())
        return refuse(ErrorAccessDenied) != 0;
    if (m_db->begin())
        return true;
    setLastError(m_db->lastErrorCode() != 0 ? m_db->lastErrorCode() : ErrorWriteFault);
    return false;
}

bool SqliteObjectStore::beginSnapshot() {
    return m_db->beginRead();
}

void SqliteObjectStore::endSnapshot() {
    // Nothing was written: ending it gives up the snapshot and nothing else.
    if (!m_db->commit())
        m_db->rollback();
}

bool SqliteObjectStore::commitBatch() {
    forgetSorts();
    setLastError(0);
    if (m_db->commit())
        return true;
    setLastError(m_db->lastErrorCode() != 0 ? m_db->lastErrorCode() : ErrorWriteFault);
    return false;
}

void SqliteObjectStore::rollbackBatch() {
    forgetSorts();
    m_db->rollback();
    bumpGeneration();
}

bool SqliteObjectStore::inBatch() const {
    return m_db->transactionDepth() > 0;
}

qint64 SqliteObjectStore::externalDataVersion() const {
    auto& q = m_db->cached("PRAGMA data_version");
    const qint64 version = q.step() ? q.int64(0) : -1;
    q.reset();
    return version;
}

void SqliteObjectStore::rowsAfter(quint32 databaseId, int column, const QByteArray& key, quint32 id,
                                  int limit, std::deque<KeyedRow>& out) {
    const int sort = column == 1 ? 0 : 1;
    auto& ties = m_db->cached(kTiesAfter[sort]);
    ties.bind(1, qint64(databaseId)).bind(2, key).bind(3, qint64(id)).bind(4, qint64(limit));
    int fetched = fetchInto(ties, out);
    if (fetched >= limit)
        return;
    auto& after = m_db->cached(kKeysAfter[sort]);
    after.bind(1, qint64(databaseId)).bind(2, key).bind(3, qint64(limit - fetched));
    fetchInto(after, out);
}

// The records of the same key before the id first, then those of smaller
// keys, skipping as many as the first step had.
std::optional<ObjectStore::KeyedRow> SqliteObjectStore::rowBefore(quint32 databaseId, int column,
                                                                  const QByteArray& key, quint32 id,
                                                                  int skip) {
    const int sort = column == 1 ? 0 : 1;
    std::deque<KeyedRow> rows;
    auto& ties = m_db->cached(kTiesBefore[sort]);
    ties.bind(1, qint64(databaseId)).bind(2, key).bind(3, qint64(id)).bind(4, qint64(skip));
    if (fetchInto(ties, rows) == 0) {
        auto& tieCount = m_db->cached(kTiesBeforeCount[sort]);
        tieCount.bind(1, qint64(databaseId)).bind(2, key).bind(3, qint64(id));
        const qint64 skipped = tieCount.step() ? tieCount.int64(0) : 0;
        tieCount.reset();
        auto& before = m_db->cached(kKeysBefore[sort]);
        before.bind(1, qint64(databaseId)).bind(2, key).bind(3, qint64(skip) - skipped);
        fetchInto(before, rows);
    }
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

std::optional<ObjectStore::KeyedRow> SqliteObjectStore::rowById(quint32 databaseId, int column,
                                                                quint32 recordId) {
    auto& q = m_db->cached(column == 1 ? kById1 : kById2);
    q.bind(1, qint64(recordId)).bind(2, qint64(databaseId));
    std::optional<KeyedRow> row;
    if (q.step())
        row = keyedRow(q);
    q.reset();
    return row;
}

bool SqliteObjectStore::createDatabaseAs(const DatabaseInfo& info) {
    auto q = m_db->prepare("INSERT INTO databases(id, name, type, sort1, sort2) VALUES(?,?,?,?,?)");
    q.bind(1, qint64(info.id)).bind(2, info.name).bind(3, qint64(info.type));
    q.bind(4, qint64(info.sortOrders.value(0)));
    if (info.sortOrders.size() > 1)
        q.bind(5, qint64(info.sortOrders[1]));
    const bool ok = inBatch() && !info.sortOrders.isEmpty() && q.exec();
    noteWrite(ok);
    return ok;
}

bool SqliteObjectStore::insertRecordsAs(quint32 databaseId, std::span<const KeyedRow> records) {
    setLastError(0);
    bool ok = inBatch() && lookUpSorts(databaseId);
    auto& q = m_db->cached("INSERT INTO records(id, db, k1, k2, props) VALUES(?,?,?,?,?)");
    for (size_t i = 0; ok && i < records.size(); ++i) {
        const auto props = decodeProperties(records[i].props);
        const StoredRow row = props ? storedRow(*props) : StoredRow{};
        q.bind(1, qint64(records[i].id)).bind(2, qint64(databaseId)).bind(3, row.k1);
        if (sortsOf().hasSort2)
            q.bind(4, row.k2);
        q.bind(5, records[i].props);
        ok = props && q.exec();
    }
    noteWrite(ok);
    return ok;
}

}  // namespace tempolatch::platform
