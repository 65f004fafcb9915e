#include "common/ServerStore.h"

#include <QCoreApplication>
#include <QFile>

#include "platform/postgres/PgConnection.h"

namespace tempolatch::test {

namespace {

int g_nextSchema = 0;

bool runOnServer(const QString& sql, QString* why) {
    auto server = platform::PgConnection::open(ServerStore::serverAddress(why), why);
    if (server && server->exec(sql.toUtf8().constData()))
        return true;
    if (why && server)
        *why = server->lastError();
    return false;
}

}  // namespace

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
        !runOnServer(
            QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE; CREATE SCHEMA %1").arg(m_schema),
            &m_why))
        return;
    m_address = server + QStringLiteral("&options=-csearch_path%3D") + m_schema;
}

ServerStore::~ServerStore() {
    if (isReady())
        runOnServer(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema), nullptr);
}

}  // namespace tempolatch::test
