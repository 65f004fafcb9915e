#include "platform/postgres/PgConnection.h"

#include <libpq-fe.h>
#include <QtEndian>

#include "platform/ServerPassword.h"

namespace tempolatch::platform {

namespace {

constexpr int kBinary = 1;

// The user's answer to the server's question for a password: this run's only.
QByteArray g_password;
bool g_wantsPassword = false;

pg_conn* connect(const QString& address) {
    const QByteArray conninfo = address.toUtf8();
    if (g_password.isEmpty())
        return PQconnectdb(conninfo.constData());
    // After the address, so that it is the password used.
    const char* const keys[] = {"dbname", "password", nullptr};
    const char* const values[] = {conninfo.constData(), g_password.constData(), nullptr};
    return PQconnectdbParams(keys, values, 1);
}

}  // namespace

void setServerPassword(const QString& password) {
    g_password = password.toUtf8();
}

bool serverWantsPassword() {
    return g_wantsPassword;
}

void PgParams::push(QByteArray value, bool null) {
    m_values.append(std::move(value));
    m_pointers.push_back(null ? nullptr : m_values.last().constData());
    m_lengths.push_back(int(m_values.last().size()));
    m_formats.push_back(kBinary);
}

PgParams& PgParams::add(qint64 value) {
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    push(std::move(bytes), false);
    return *this;
}

PgParams& PgParams::add(const QByteArray& bytes) {
    // An empty value still needs an address: libpq takes a null one for NULL.
    push(bytes.isNull() ? QByteArray("") : bytes, false);
    return *this;
}

PgParams& PgParams::add(const QString& text) {
    push(text.toUtf8(), false);
    return *this;
}

PgParams& PgParams::addNull() {
    push({}, true);
    return *this;
}

PgResult::PgResult(pg_result* result) : m_result(result) {}

PgResult::~PgResult() {
    PQclear(m_result);
}

PgResult::PgResult(PgResult&& other) noexcept : m_result(other.m_result) {
    other.m_result = nullptr;
}

PgResult& PgResult::operator=(PgResult&& other) noexcept {
    std::swap(m_result, other.m_result);
    return *this;
}

bool PgResult::ok() const {
    const ExecStatusType status = PQresultStatus(m_result);
    return m_result && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}

int PgResult::rows() const {
    return ok() ? PQntuples(m_result) : 0;
}

int PgResult::changed() const {
    return ok() ? QByteArray(PQcmdTuples(m_result)).toInt() : 0;
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(m_result, row, column) != 0;
}

qint64 PgResult::int64(int row, int column) const {
    if (PQgetlength(m_result, row, column) != 8)
        return 0;
    return qFromBigEndian<qint64>(PQgetvalue(m_result, row, column));
}

QByteArray PgResult::bytes(int row, int column) const {
    return QByteArray(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

QString PgResult::text(int row, int column) const {
    return QString::fromUtf8(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

QByteArray PgResult::sqlState() const {
    const char* state = m_result ? PQresultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr;
    return state ? QByteArray(state) : QByteArray();
}

PgConnection::~PgConnection() {
    PQfinish(m_db);
}

std::unique_ptr<PgConnection> PgConnection::open(const QString& address, QString* error) {
    pg_conn* db = connect(address);
    // None at hand, or one the server did not take: the user may type one.
    g_wantsPassword = db && PQstatus(db) != CONNECTION_OK &&
                      (PQconnectionNeedsPassword(db) ||
                       (PQconnectionUsedPassword(db) &&
                        QByteArray(PQerrorMessage(db)).contains("password authentication failed")));
    if (!db || PQstatus(db) != CONNECTION_OK) {
        if (error)
            *error = db ? QString::fromUtf8(PQerrorMessage(db)).trimmed()
                        : QStringLiteral("out of memory");
        PQfinish(db);
        return nullptr;
    }
    // The server's notices (a savepoint released twice, a missing table
    // dropped) are ours to handle, not to print on the user's terminal.
    PQsetNoticeProcessor(
        db, [](void*, const char*) {}, nullptr);
    return std::unique_ptr<PgConnection>(new PgConnection(db));
}

bool PgConnection::noteResult(const PgResult& result) const {
    m_lastState = result.ok() ? QByteArray() : result.sqlState();
    if (!result.ok() && m_lastState.isEmpty())
        m_lastState = isBroken() ? "08006" : "XX000";
    return result.ok();
}

PgResult PgConnection::execOnce(const char* sql) const {
    PgResult result(PQexec(m_db, sql));
    noteResult(result);
    return result;
}

bool PgConnection::exec(const char* sql) {
    if (execOnce(sql).ok())
        return true;
    return reconnected() && execOnce(sql).ok();
}

bool PgConnection::keep(const char* sql) {
    m_session.append(sql);
    return exec(sql);
}

bool PgConnection::reconnected() const {
    // Inside a transaction the server has taken back all of it: running
    // the rest on a new connection would land half of it.
    if (m_depth != 0 || !isBroken())
        return false;
    PQreset(m_db);
    if (isBroken())
        return false;
    ++m_reconnects;
    // The new session knows none of the old one's statements.
    m_prepared.clear();
    for (const char* setting : m_session)
        execOnce(setting);
    return true;
}

PgResult PgConnection::run(const char* sql, const PgParams& params) const {
    PgResult result = runOnce(sql, params);
    if (!result.ok() && reconnected())
        result = runOnce(sql, params);
    return result;
}

PgResult PgConnection::runOnce(const char* sql, const PgParams& params) const {
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        const QByteArray name = "s" + QByteArray::number(qulonglong(m_prepared.size()));
        PgResult prepared(PQprepare(m_db, name.constData(), sql, 0, nullptr));
        if (!noteResult(prepared))
            return prepared;
        it = m_prepared.emplace(sql, name).first;
    }
    PgResult result(PQexecPrepared(m_db, it->second.constData(), params.count(), params.values(),
                                   params.lengths(), params.formats(), kBinary));
    noteResult(result);
    return result;
}

bool PgConnection::beginCopy(const char* sql) {
    PgResult started(PQexec(m_db, sql));
    return PQresultStatus(started.handle()) == PGRES_COPY_IN || (noteResult(started) && false);
}

bool PgConnection::putCopy(const QByteArray& data) {
    return PQputCopyData(m_db, data.constData(), int(data.size())) == 1;
}

bool PgConnection::endCopy(bool complete) {
    // Rows that did not all go are refused whole by the server.
    const bool ended = PQputCopyEnd(m_db, complete ? nullptr : "incomplete") == 1;
    bool ok = true;
    while (pg_result* next = PQgetResult(m_db))
        ok = noteResult(PgResult(next)) && ok;
    return ended && complete && ok;
}

QString PgConnection::lastError() const {
    return QString::fromUtf8(PQerrorMessage(m_db)).trimmed();
}

bool PgConnection::isBroken() const {
    return PQstatus(m_db) != CONNECTION_OK;
}

bool PgConnection::begin(const char* beginSql) {
    const bool ok = m_depth == 0 ? exec(beginSql) : exec("SAVEPOINT nested");
    if (ok)
        ++m_depth;
    else if (m_depth == 0)
        exec("ROLLBACK");
    return ok;
}

bool PgConnection::commit() {
    if (m_depth == 0)
        return false;
    if (m_depth > 1) {
        const bool released = exec("RELEASE SAVEPOINT nested");
        m_depth -= released ? 1 : 0;
        return released;
    }
    // A transaction that an error spoiled "commits" as a rollback: that is
    // a failure, never a success.
    PgResult result(PQexec(m_db, "COMMIT"));
    bool ok = noteResult(result) && qstrcmp(PQcmdStatus(result.handle()), "COMMIT") == 0;
    if (result.ok() && !ok)
        m_lastState = "25P02";
    if (ok)
        --m_depth;
    return ok;
}

void PgConnection::rollback() {
    if (m_depth == 0)
        return;
    if (m_depth == 1)
        exec("ROLLBACK");
    else
        exec("ROLLBACK TO SAVEPOINT nested; RELEASE SAVEPOINT nested");
    --m_depth;
}

int PgConnection::takeOthersNotifications() {
    PQconsumeInput(m_db);
    int count = 0;
    const int self = PQbackendPID(m_db);
    while (PGnotify* notice = PQnotifies(m_db)) {
        if (notice->be_pid != self)
            ++count;
        PQfreemem(notice);
    }
    return count;
}

}  // namespace tempolatch::platform
