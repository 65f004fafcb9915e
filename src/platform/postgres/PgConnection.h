#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <unordered_map>

struct pg_conn;
struct pg_result;

namespace tempolatch::platform {

// The values of one statement's parameters, sent in binary: numbers as
// 64-bit integers, bytes as they are, texts as UTF-8.
class PgParams {
public:
    PgParams& add(qint64 value);
    PgParams& add(const QByteArray& bytes);
    PgParams& add(const QString& text);
    PgParams& addNull();

    int count() const { return int(m_values.size()); }
    const char* const* values() const { return m_pointers.data(); }
    const int* lengths() const { return m_lengths.data(); }
    const int* formats() const { return m_formats.data(); }

private:
    void push(QByteArray value, bool null);

    QList<QByteArray> m_values;
    std::vector<const char*> m_pointers;
    std::vector<int> m_lengths;
    std::vector<int> m_formats;
};

// One statement's result, its rows in binary.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* result);
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    // The statement ran (with or without rows).
    bool ok() const;
    int rows() const;
    // Rows a command changed (UPDATE, DELETE, INSERT).
    int changed() const;
    bool isNull(int row, int column) const;
    qint64 int64(int row, int column) const;  // a bigint column
    QByteArray bytes(int row, int column) const;
    QString text(int row, int column) const;
    QByteArray sqlState() const;
    pg_result* handle() const { return m_result; }

private:
    pg_result* m_result = nullptr;
};

// A thin RAII layer over libpq: one connection, statements prepared once
// and run with binary parameters and results, nested transactions, COPY and
// the notifications of LISTEN. Passwords are libpq's business (~/.pgpass,
// PGPASSWORD, the address): nothing here keeps one.
class PgConnection {
public:
    ~PgConnection();
    static std::unique_ptr<PgConnection> open(const QString& address, QString* error);

    // One or more statements without parameters; true when all ran.
    bool exec(const char* sql);
    // A setting of the session (SET, LISTEN): run now, and again on every
    // connection made anew after this one was lost.
    bool keep(const char* sql);
    // A statement prepared on first use and kept for the connection; `sql`
    // must be a string literal (its address is the cache key).
    PgResult run(const char* sql, const PgParams& params = {}) const;
    // COPY ... FROM STDIN: begin it, send the rows in pieces (the format
    // the statement names), end it; true when the server took them all.
    bool beginCopy(const char* sql);
    bool putCopy(const QByteArray& data);
    bool endCopy(bool complete);

    // A connection that the server dropped (a restart, a network cut) is
    // made anew by the next statement outside a transaction, which then
    // runs on it; inside one, the statement fails and the transaction is
    // lost whole. Counts the connections made anew.
    int reconnects() const { return m_reconnects; }

    QString lastError() const;
    // SQLSTATE of the last failed statement; empty when the last one ran.
    QByteArray lastState() const { return m_lastState; }
    bool isBroken() const;

    // Nested transactions: the outermost begins with `beginSql`, inner ones
    // are savepoints that can be rolled back on their own.
    bool begin(const char* beginSql);
    bool commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // Notifications of LISTEN that arrived from other sessions since the
    // last call; reads what the server sent without waiting.
    int takeOthersNotifications();

private:
    explicit PgConnection(pg_conn* db) : m_db(db) {}
    bool noteResult(const PgResult& result) const;
    // True when the statement that failed may run again on a new connection.
    bool reconnected() const;

    PgResult execOnce(const char* sql) const;
    PgResult runOnce(const char* sql, const PgParams& params) const;

    pg_conn* m_db = nullptr;
    int m_depth = 0;
    mutable QByteArray m_lastState;
    mutable std::unordered_map<const char*, QByteArray> m_prepared;
    QList<const char*> m_session;
    mutable int m_reconnects = 0;
};

}  // namespace tempolatch::platform
