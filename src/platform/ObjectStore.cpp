#include "platform/ObjectStore.h"

#include <QFileInfo>

#include "platform/DatabaseHandle.h"
#include "platform/SortKey.h"
#include "platform/Sqlite.h"

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

PropertyList merged(PropertyList existing, const PropertyList& changes) {
    existing.reserve(existing.size() + changes.size());
    for (const Property& change : changes) {
        auto it = std::find_if(existing.begin(), existing.end(),
                               [&](const Property& p) { return p.id == change.id; });
        if (change.isDelete()) {
            if (it != existing.end())
                existing.erase(it);
        } else if (it != existing.end()) {
            *it = change;
            it->flags = 0;
        } else {
            existing.append(change);
            existing.last().flags = 0;
        }
    }
    return existing;
}

}  // namespace

ObjectStore::~ObjectStore() = default;

std::optional<qint64> ObjectStore::queryNumber(const char* sql) const {
    auto q = m_db->prepare(sql);
    if (!q.step())
        return std::nullopt;
    return q.int64(0);
}

std::unique_ptr<ObjectStore> ObjectStore::open(const QString& path, Access access,
                                               const QString& collationLocale, QString* error) {
    const bool readOnly = access == Access::ReadOnly;
    if (readOnly && !QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 does not exist").arg(path);
        return nullptr;
    }
    std::unique_ptr<ObjectStore> store(new ObjectStore);
    store->m_path = path;
    store->m_readOnly = readOnly;
    store->m_db = SqliteConnection::open(
        path, readOnly ? SqliteConnection::Mode::ReadOnly : SqliteConnection::Mode::ReadWriteCreate,
        error);
    if (!store->m_db)
        return nullptr;
    store->m_keys = std::make_unique<SortKeyMaker>(collationLocale);
    if (!store->prepareSchema(error))
        return nullptr;
    return store;
}

bool ObjectStore::prepareSchema(QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why + QStringLiteral(": ") + m_path;
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
        if (m_readOnly)
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
        if (!m_readOnly && !m_db->exec("PRAGMA journal_mode=WAL"))
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
    if (!m_readOnly && !rebuildTextKeysIfNeeded())
        return fail(QStringLiteral("cannot prepare the sort orders (%1)").arg(m_db->lastError()));
    return true;
}

// Text keys depend on the locale's collation; when the user's locale has
// changed since they were made, they are made again.
bool ObjectStore::rebuildTextKeysIfNeeded() {
    auto current = m_db->prepare("SELECT value FROM meta WHERE name = 'collation'");
    if (current.step() && current.text(0) == m_keys->localeName())
        return true;

    SqliteTransaction tx(*m_db);
    if (!tx.isActive())
        return false;
    for (const DatabaseInfo& db : databases()) {
        bool hasText = false;
        for (quint32 sort : db.sortOrders)
            hasText = hasText || propTypeOf(sort) == PropText;
        if (!hasText)
            continue;
        // In rowid order, which the key updates cannot disturb.
        auto rows = m_db->prepare("SELECT id, props FROM records NOT INDEXED WHERE db = ?");
        rows.bind(1, qint64(db.id));
        while (rows.step()) {
            const auto props = decodeProperties(rows.blob(1));
            if (props && !storeKeys(db.sortOrders, quint32(rows.int64(0)), *props))
                return false;
        }
    }
    auto set = m_db->prepare("INSERT OR REPLACE INTO meta(name, value) VALUES('collation', ?)");
    set.bind(1, m_keys->localeName());
    return set.exec() && tx.commit();
}

QList<DatabaseInfo> ObjectStore::databases() const {
    QList<DatabaseInfo> out;
    auto q = m_db->prepare("SELECT id FROM databases ORDER BY id");
    while (q.step())
        if (auto info = databaseInfo(quint32(q.int64(0))))
            out.append(*info);
    return out;
}

std::optional<DatabaseInfo> ObjectStore::databaseInfo(quint32 databaseId) const {
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

quint32 ObjectStore::findDatabase(const QString& name) const {
    auto& q = m_db->cached("SELECT id FROM databases WHERE name = ?");
    q.bind(1, name);
    const quint32 id = q.step() ? quint32(q.int64(0)) : 0;
    q.reset();
    return id;
}

quint32 ObjectStore::findDatabaseByType(quint32 type) const {
    auto& q = m_db->cached("SELECT id FROM databases WHERE type = ? ORDER BY id LIMIT 1");
    q.bind(1, qint64(type));
    const quint32 id = q.step() ? quint32(q.int64(0)) : 0;
    q.reset();
    return id;
}

quint32 ObjectStore::createDatabase(const QString& name, quint32 type,
                                    const QList<quint32>& sortOrders) {
    m_lastError = m_readOnly ? ErrorAccessDenied : 0;
    if (m_readOnly || name.isEmpty() || sortOrders.isEmpty() || sortOrders.size() > 2)
        return 0;
    m_sortsOf = {};
    auto q = m_db->prepare("INSERT INTO databases(name, type, sort1, sort2) VALUES(?,?,?,?)");
    q.bind(1, name).bind(2, qint64(type)).bind(3, qint64(sortOrders[0]));
    if (sortOrders.size() > 1)
        q.bind(4, qint64(sortOrders[1]));
    const bool ok = q.exec();
    noteWrite(ok);
    return ok ? quint32(m_db->lastInsertId()) : 0;
}

bool ObjectStore::deleteDatabase(quint32 databaseId) {
    m_lastError = 0;
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    StoreBatch batch(*this);
    m_sortsOf = {};
    auto records = m_db->prepare("DELETE FROM records WHERE db = ?");
    records.bind(1, qint64(databaseId));
    auto db = m_db->prepare("DELETE FROM databases WHERE id = ?");
    db.bind(1, qint64(databaseId));
    const bool ok =
        batch.isActive() && records.exec() && db.exec() && m_db->changes() == 1 && batch.commit();
    noteWrite(ok);
    return ok;
}

bool ObjectStore::setSortOrders(quint32 databaseId, const QList<quint32>& sortOrders) {
    m_lastError = 0;
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    if (sortOrders.isEmpty() || sortOrders.size() > 2)
        return refuse(ErrorInvalidParameter) != 0;
    m_sortsOf = {};
    StoreBatch batch(*this);
    auto set = m_db->prepare("UPDATE databases SET sort1 = ?, sort2 = ? WHERE id = ?");
    set.bind(1, qint64(sortOrders[0])).bind(3, qint64(databaseId));
    if (sortOrders.size() > 1)
        set.bind(2, qint64(sortOrders[1]));
    bool ok = batch.isActive() && set.exec() && m_db->changes() == 1;
    // In rowid order, which the key updates cannot disturb.
    auto rows = m_db->prepare("SELECT id, props FROM records NOT INDEXED WHERE db = ?");
    rows.bind(1, qint64(databaseId));
    while (ok && rows.step()) {
        const auto props = decodeProperties(rows.blob(1));
        ok = !props || storeKeys(sortOrders, quint32(rows.int64(0)), *props);
    }
    ok = ok && batch.commit();
    noteWrite(ok);
    return ok;
}

int ObjectStore::recordCount(quint32 databaseId) const {
    auto& q = m_db->cached("SELECT count(*) FROM records WHERE db = ?");
    q.bind(1, qint64(databaseId));
    const int count = q.step() ? int(q.int64(0)) : -1;
    q.reset();
    return count;
}

// Only the database's row: opening a database must not count its records.
QList<quint32> ObjectStore::sortOrdersOf(quint32 databaseId) const {
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

int ObjectStore::sortColumnOf(quint32 databaseId, quint32 sortProp) const {
    return int(sortOrdersOf(databaseId).indexOf(sortProp)) + 1;
}

std::unique_ptr<DatabaseHandle> ObjectStore::openDatabase(quint32 databaseId, quint32 sortProp) {
    const int column = sortColumnOf(databaseId, sortProp);
    if (column == 0)
        return nullptr;
    return std::make_unique<DatabaseHandle>(*this, databaseId, sortProp, column);
}

std::optional<PropertyList> ObjectStore::readRecord(quint32 databaseId, quint32 recordId) const {
    auto& q = m_db->cached("SELECT props FROM records WHERE id = ? AND db = ?");
    q.bind(1, qint64(recordId)).bind(2, qint64(databaseId));
    if (!q.step())
        return std::nullopt;
    const QByteArray props = q.blob(0);
    q.reset();
    return decodeProperties(props);
}

bool ObjectStore::storeKeys(const QList<quint32>& sortOrders, quint32 recordId,
                            const PropertyList& props) {
    auto& q = m_db->cached("UPDATE records SET k1 = ?, k2 = ? WHERE id = ?");
    q.bind(1, m_keys->keyOf(props, sortOrders[0]));
    if (sortOrders.size() > 1)
        q.bind(2, m_keys->keyOf(props, sortOrders[1]));
    q.bind(3, qint64(recordId));
    return q.exec();
}

bool ObjectStore::checkWritable(const PropertyList& props) {
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    for (const Property& p : props)
        if (!isKnownPropType(p.type()))
            return refuse(ErrorInvalidParameter) != 0;
    return true;
}

bool ObjectStore::lookUpSorts(quint32 databaseId) {
    // Within a batch the write lock keeps other programs from changing the
    // databases, so their sort orders are looked up once per batch.
    if (inBatch() && m_sortsOf.databaseId == databaseId)
        return true;
    auto& sorts = m_db->cached("SELECT sort1, sort2 FROM databases WHERE id = ?");
    sorts.bind(1, qint64(databaseId));
    if (!sorts.step())
        return refuse(ErrorInvalidHandle) != 0;
    m_sortsOf = {databaseId, quint32(sorts.int64(0)), quint32(sorts.int64(1)), !sorts.isNull(1)};
    sorts.reset();
    return true;
}

ObjectStore::StoredRow ObjectStore::storedRow(const PropertyList& record) const {
    return {m_keys->keyOf(record, m_sortsOf.sort1),
            m_sortsOf.hasSort2 ? m_keys->keyOf(record, m_sortsOf.sort2) : QByteArray(),
            encodeProperties(record)};
}

void ObjectStore::bindNew(SqliteStatement& q, int row, const StoredRow& stored) const {
    const int at = row * 4;
    q.bind(at + 1, qint64(m_sortsOf.databaseId)).bindStatic(at + 2, stored.k1);
    if (m_sortsOf.hasSort2)
        q.bindStatic(at + 3, stored.k2);
    else
        q.bindNull(at + 3);
    q.bindStatic(at + 4, stored.props);
}

// Ids past the 32 bits of a record id are taken back.
bool ObjectStore::withinRecordIds(qint64 lastId) {
    if (lastId <= kMaxRecordId)
        return true;
    auto undo = m_db->prepare("DELETE FROM records WHERE id > ?");
    undo.bind(1, kMaxRecordId).exec();
    return false;
}

quint32 ObjectStore::writeRecord(quint32 databaseId, quint32 recordId, const PropertyList& props,
                                 StoredRow* stored) {
    // Each write reports its own failure, never one left from an earlier write.
    m_lastError = 0;
    if (!checkWritable(props) || !lookUpSorts(databaseId))
        return 0;

    PropertyList record;
    if (recordId != 0) {
        const auto existing = readRecord(databaseId, recordId);
        if (!existing)
            return refuse(ErrorNotFound);
        record = merged(*existing, props);
    } else {
        record = merged({}, props);
    }
    const StoredRow row = storedRow(record);

    bool ok;
    quint32 written = recordId;
    if (recordId == 0) {
        auto& q = m_db->cached("INSERT INTO records(db, k1, k2, props) VALUES(?,?,?,?)");
        bindNew(q, 0, row);
        ok = q.exec();
        const qint64 id = m_db->lastInsertId();
        ok = ok && withinRecordIds(id);
        written = ok ? quint32(id) : 0;
    } else {
        auto& q = m_db->cached("UPDATE records SET k1 = ?, k2 = ?, props = ? WHERE id = ?");
        q.bindStatic(1, row.k1).bindStatic(3, row.props).bind(4, qint64(recordId));
        if (m_sortsOf.hasSort2)
            q.bindStatic(2, row.k2);
        ok = q.exec();
    }
    noteWrite(ok);
    if (ok && stored)
        *stored = row;
    return ok ? written : 0;
}

quint32 ObjectStore::addRecords(quint32 databaseId, std::span<const PropertyList> records) {
    m_lastError = 0;
    for (const PropertyList& props : records)
        if (!checkWritable(props))
            return 0;
    if (records.empty())
        return refuse(ErrorInvalidParameter);
    // A savepoint of its own: a refused record takes the others back with it.
    StoreBatch batch(*this);
    if (!batch.isActive()) {
        noteWrite(false);
        return 0;
    }
    if (!lookUpSorts(databaseId))
        return 0;
    if (!m_insertMany.isValid()) {
        QByteArray sql = "INSERT INTO records(db, k1, k2, props) VALUES(?,?,?,?)";
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
        SqliteStatement& q =
            count > 1 ? m_insertMany
                      : m_db->cached("INSERT INTO records(db, k1, k2, props) VALUES(?,?,?,?)");
        for (size_t i = 0; i < count; ++i) {
            rows[i] = storedRow(merged({}, records[at + i]));
            bindNew(q, int(i), rows[i]);
        }
        ok = q.exec();
        // One statement's rows take consecutive ids, the last one's reported.
        if (ok && firstId == 0)
            firstId = m_db->lastInsertId() - qint64(count) + 1;
        at += count;
    }
    ok = ok && withinRecordIds(m_db->lastInsertId()) && batch.commit();
    noteWrite(ok);
    return ok ? quint32(firstId) : 0;
}

bool ObjectStore::deleteRecord(quint32 databaseId, quint32 recordId) {
    m_lastError = 0;
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    auto& q = m_db->cached("DELETE FROM records WHERE id = ? AND db = ?");
    q.bind(1, qint64(recordId)).bind(2, qint64(databaseId));
    const bool ran = q.exec();
    const bool ok = ran && m_db->changes() == 1;
    if (ran && !ok)
        m_lastError = ErrorNotFound;
    noteWrite(ok);
    return ok;
}

quint32 ObjectStore::refuse(int error) {
    m_lastError = error;
    return 0;
}

void ObjectStore::noteWrite(bool ok) {
    ++m_generation;
    if (!ok && m_lastError == 0)
        m_lastError = m_db->lastErrorCode() != 0 ? m_db->lastErrorCode() : ErrorWriteFault;
}

int ObjectStore::failureCode() const {
    if (m_lastError != 0)
        return m_lastError;
    // A statement that stepped last leaves its row or done code, which is no failure.
    const int code = m_db->lastErrorCode();
    const int primary = code & 0xff;
    return primary == 100 || primary == 101 ? 0 : code;
}

bool ObjectStore::beginBatch() {
    m_sortsOf = {};
    if (m_readOnly)
        return refuse(ErrorAccessDenied) != 0;
    if (m_db->begin())
        return true;
    m_lastError = m_db->lastErrorCode() != 0 ? m_db->lastErrorCode() : ErrorWriteFault;
    return false;
}

bool ObjectStore::beginSnapshot() {
    return m_db->beginRead();
}

void ObjectStore::endSnapshot() {
    // Nothing was written: ending it gives up the snapshot and nothing else.
    if (!m_db->commit())
        m_db->rollback();
}

bool ObjectStore::commitBatch() {
    m_sortsOf = {};
    m_lastError = 0;
    if (m_db->commit())
        return true;
    m_lastError = m_db->lastErrorCode() != 0 ? m_db->lastErrorCode() : ErrorWriteFault;
    return false;
}

void ObjectStore::rollbackBatch() {
    m_sortsOf = {};
    m_db->rollback();
    ++m_generation;
}

bool ObjectStore::inBatch() const {
    return m_db->transactionDepth() > 0;
}

qint64 ObjectStore::externalDataVersion() const {
    auto& q = m_db->cached("PRAGMA data_version");
    const qint64 version = q.step() ? q.int64(0) : -1;
    q.reset();
    return version;
}

}  // namespace tempolatch::platform
