#include "common/ServerStore.h"

#include <QCoreApplication>
#include <QFile>

#include "platform/postgres/PgConnection.h"

namespace tempolatch::test {

namespace {

int g_nextSchema = 0;

}  // namespace

bool ServerStore::run(const QString& sql, QString* why) {
    auto server = platform::PgConnection::open(serverAddress(why), why);
    if (server && server->exec(sql.toUtf8().constData()))
        return true;
    if (why && server)
        *why = server->lastError();
    return false;
}

QString ServerStore::serverAddress(QString* why) {
    const QString folder = qEnvironmentVariable("TEMPOLATCH_TEST_SERVER");
    QFile file(folder + QStringLiteral("/address"));
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = folder.isEmpty() ? QStringLiteral("no test server: run the tests through ctest")
                                    : QStringLiteral("no test server: PostgreSQL is not installed");
        return {};
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

ServerStore::ServerStore()
    : m_schema(
          QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_nextSchema)) {
    const QString server = serverAddress(&m_why);
    if (server.isEmpty() ||
        !run(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(m_schema),
             &m_why))
        return;
    m_address = server + QStringLiteral("&options=-csearch_path%3D") + m_schema;
}

ServerStore::~ServerStore() {
    if (isReady())
        run(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema), nullptr);
}

}  // namespace tempolatch::test

namespace tempolatch::test {

bool wholeRunOnServer() {
    return qEnvironmentVariable("TEMPOLATCH_TEST_STORE") == QLatin1String("server");
}

ServerRole::ServerRole(const ServerStore& store, const QString& rights)
    : m_name(QStringLiteral("r%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_nextSchema)) {
    const QString schema = store.schema();
    m_ready = ServerStore::run(QStringLiteral("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN; "
                                              "GRANT USAGE ON SCHEMA %2 TO %1; "
                                              "GRANT %3 ON ALL TABLES IN SCHEMA %2 TO %1; "
                                              "GRANT USAGE ON ALL SEQUENCES IN SCHEMA %2 TO %1")
                                   .arg(m_name, schema, rights));
    m_address = store.address().replace(QStringLiteral("user=tempolatch"),
                                        QStringLiteral("user=") + m_name);
}

ServerRole::~ServerRole() {
    dropSessions();
    ServerStore::run(QStringLiteral("DROP OWNED BY %1; DROP ROLE %1").arg(m_name));
}

bool ServerRole::allowLogin(bool allowed) {
    return ServerStore::run(
        QStringLiteral("ALTER ROLE %1 %2")
            .arg(m_name, allowed ? QStringLiteral("LOGIN") : QStringLiteral("NOLOGIN")));
}

bool ServerRole::dropSessions() {
    return ServerStore::run(
        QStringLiteral(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = '%1'")
            .arg(m_name));
}

}  // namespace tempolatch::test
