#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace tempolatch::platform {

// A thin RAII layer over the SQLite C API: one connection, prepared
// statements that reset themselves, and nested transactions.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }

    SqliteStatement& reset();  // also clears the bindings
    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, const QByteArray& blob);
    // Without a copy: the bytes must stay as they are until the statement
    // has run and been reset.
    SqliteStatement& bindStatic(int index, const QByteArray& blob);
    SqliteStatement& bind(int index, const QString& text);
    SqliteStatement& bindNull(int index);

    // Steps once: true when a row is available. lastResult() tells errors apart.
    bool step();
    int lastResult() const { return m_lastResult; }
    bool done() const;  // the last step finished the statement without error

    // Runs a statement that returns no rows; true on success.
    bool exec();

    qint64 int64(int column) const;
    QByteArray blob(int column) const;
    QString text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_lastResult = 0;
};

class SqliteConnection {
public:
    enum class Mode { ReadWriteCreate, ReadWrite, ReadOnly };

    ~SqliteConnection();
    static std::unique_ptr<SqliteConnection> open(const QString& path, Mode mode, QString* error);

    sqlite3* handle() const { return m_db; }
    bool exec(const char* sql);
    void setBusyTimeout(int milliseconds);
    SqliteStatement prepare(const char* sql) const { return SqliteStatement(m_db, sql); }
    // A statement prepared once per connection and reused; reset on return.
    // `sql` must be a string literal (its address is the cache key).
    SqliteStatement& cached(const char* sql);
    QString lastError() const;
    int lastErrorCode() const;
    qint64 lastInsertId() const;
    int changes() const;

    // Nested transactions: the outermost takes the write lock at once
    // (BEGIN IMMEDIATE) so that other processes wait rather than interleave;
    // inner ones are savepoints that can be rolled back on their own.
    bool begin();
    // A read transaction: every read until commit() sees the store as it
    // was when it began, while other connections go on writing (WAL).
    // Inside a transaction it is a savepoint of that one.
    bool beginRead();
    bool commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

private:
    explicit SqliteConnection(sqlite3* db) : m_db(db) {}
    void releaseCachedReads();
    sqlite3* m_db = nullptr;
    int m_depth = 0;
    std::unordered_map<const char*, SqliteStatement> m_cache;
};

// Commits on commit(), rolls back when destroyed without it.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    SqliteConnection& m_connection;
    bool m_active = false;
};

}  // namespace tempolatch::platform
