#include "platform/Sqlite.h"

#include <sqlite3.h>

namespace tempolatch::platform {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
        m_stmt = nullptr;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(other.m_stmt), m_lastResult(other.m_lastResult) {
    other.m_stmt = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = other.m_stmt;
        m_lastResult = other.m_lastResult;
        other.m_stmt = nullptr;
    }
    return *this;
}

SqliteStatement& SqliteStatement::reset() {
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    m_lastResult = 0;
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value) {
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QByteArray& blob) {
    if (m_stmt)
        sqlite3_bind_blob(m_stmt, index, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindStatic(int index, const QByteArray& blob) {
    if (m_stmt)
        sqlite3_bind_blob(m_stmt, index, blob.constData(), int(blob.size()), SQLITE_STATIC);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& text) {
    if (m_stmt)
        sqlite3_bind_text16(m_stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    if (m_stmt)
        sqlite3_bind_null(m_stmt, index);
    return *this;
}

bool SqliteStatement::step() {
    if (!m_stmt) {
        m_lastResult = SQLITE_MISUSE;
        return false;
    }
    m_lastResult = sqlite3_step(m_stmt);
    return m_lastResult == SQLITE_ROW;
}

bool SqliteStatement::done() const {
    return m_lastResult == SQLITE_DONE;
}

bool SqliteStatement::exec() {
    step();
    const bool ok = m_lastResult == SQLITE_DONE || m_lastResult == SQLITE_ROW;
    if (m_stmt)
        sqlite3_reset(m_stmt);
    return ok;
}

qint64 SqliteStatement::int64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

QByteArray SqliteStatement::blob(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return QByteArray(static_cast<const char*>(data), size);
}

QString SqliteStatement::text(int column) const {
    const void* data = sqlite3_column_text16(m_stmt, column);
    const int size = sqlite3_column_bytes16(m_stmt, column);
    return QString(static_cast<const QChar*>(data), size / 2);
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

SqliteStatement& SqliteConnection::cached(const char* sql) {
    auto it = m_cache.find(sql);
    if (it == m_cache.end())
        it = m_cache.emplace(sql, SqliteStatement(m_db, sql)).first;
    return it->second.reset();
}

SqliteConnection::~SqliteConnection() {
    m_cache.clear();
    sqlite3_close_v2(m_db);
}

std::unique_ptr<SqliteConnection> SqliteConnection::open(const QString& path, Mode mode,
                                                         QString* error) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
        case Mode::ReadWriteCreate:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
        case Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case Mode::ReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 10000);
    sqlite3_extended_result_codes(db, 1);
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(db));
}

void SqliteConnection::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(m_db, milliseconds);
}

bool SqliteConnection::exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString SqliteConnection::lastError() const {
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

int SqliteConnection::lastErrorCode() const {
    return sqlite3_extended_errcode(m_db);
}

qint64 SqliteConnection::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteConnection::changes() const {
    return sqlite3_changes(m_db);
}

// A cached statement left on a row keeps a read snapshot open. Once another
// process has committed, BEGIN IMMEDIATE on that snapshot fails at once
// (SQLITE_BUSY_SNAPSHOT) instead of waiting, so the outermost batch starts
// from no snapshot at all.
void SqliteConnection::releaseCachedReads() {
    for (auto& [sql, statement] : m_cache)
        statement.reset();
}

bool SqliteConnection::begin() {
    if (m_depth == 0)
        releaseCachedReads();
    const bool ok = m_depth == 0 ? exec("BEGIN IMMEDIATE") : exec("SAVEPOINT nested");
    if (ok)
        ++m_depth;
    return ok;
}

bool SqliteConnection::beginRead() {
    if (m_depth == 0)
        releaseCachedReads();
    // A deferred transaction takes its snapshot at its first read: read at
    // once, so that the snapshot is the one of this moment.
    const bool ok = m_depth == 0
                        ? exec("BEGIN DEFERRED") && exec("SELECT count(*) FROM sqlite_master")
                        : exec("SAVEPOINT nested");
    if (ok)
        ++m_depth;
    else if (m_depth == 0)
        exec("ROLLBACK");
    return ok;
}

bool SqliteConnection::commit() {
    if (m_depth == 0)
        return false;
    const bool ok = m_depth == 1 ? exec("COMMIT") : exec("RELEASE nested");
    if (ok)
        --m_depth;
    return ok;
}

void SqliteConnection::rollback() {
    if (m_depth == 0)
        return;
    if (m_depth == 1)
        exec("ROLLBACK");
    else
        exec("ROLLBACK TO nested; RELEASE nested");
    --m_depth;
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : m_connection(connection) {
    m_active = m_connection.begin();
}

SqliteTransaction::~SqliteTransaction() {
    if (m_active)
        m_connection.rollback();
}

bool SqliteTransaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    if (m_connection.commit())
        return true;
    m_connection.rollback();
    return false;
}

}  // namespace tempolatch::platform
