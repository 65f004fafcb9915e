#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/ServerStore.h"
#include "common/SampleStore.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/postgres/PgConnection.h"
#include "platform/postgres/PostgresObjectStore.h"
#include "store/StoreCopy.h"
#include "store/StoreIds.h"
#include "transfer/BackupOperation.h"

using namespace tempolatch;
using namespace tempolatch::test;
using platform::ObjectStore;

namespace {
// Enough that the work takes a while on the server.
constexpr int kEntries = 4000;
}  // namespace

// The server of a shared store dies in the middle of a restore or a
// replace: after it starts again, the store holds all of the work or none
// of it. On a server of the test's own, which it kills as a power cut would.
class ServerCrashTest : public EnvironmentTest {
    Q_OBJECT

    QTemporaryDir m_serverDir;
    QString m_address;

    bool server(const char* command) {
        QProcess script;
        script.start(QStringLiteral(TEMPOLATCH_TEST_SERVER_SCRIPT),
                     {QString::fromLatin1(command), m_serverDir.path()});
        return script.waitForFinished(120000) && script.exitCode() == 0;
    }
    std::unique_ptr<ObjectStore> openServer() {
        QString why;
        auto store = ObjectStore::open(m_address, ObjectStore::Access::ReadOnly,
                                       platform::Locale::collationName(), &why);
        if (!store)
            qWarning("%s", qPrintable(why));
        return store;
    }
    int entriesOnServer() {
        auto store = openServer();
        return store ? store->recordCount(store->findDatabase(QLatin1String(db::EntriesName))) : -1;
    }
    // Every time entry's id and stored bytes, in a few bytes.
    QByteArray entriesDigest() {
        auto store = openServer();
        if (!store)
            return {};
        const quint32 entries = store->findDatabase(QLatin1String(db::EntriesName));
        QCryptographicHash hash(QCryptographicHash::Sha1);
        std::deque<ObjectStore::KeyedRow> rows;
        QByteArray key;
        quint32 id = 0;
        do {
            rows.clear();
            store->rowsAfter(entries, 1, key, id, 1000, rows);
            for (const ObjectStore::KeyedRow& row : rows) {
                hash.addData(QByteArray::number(row.id));
                hash.addData(row.props);
                key = row.key;
                id = row.id;
            }
        } while (!rows.empty());
        return hash.result();
    }
    // Waits until the program is in the middle of its transaction: it
    // holds the store's write lock and runs `statement` (COPY, UPDATE).
    bool waitUntilWriting(Program& program, const QByteArray& statement) {
        QString why;
        auto watcher = platform::PgConnection::open(m_address, &why);
        if (!watcher || !program.process.waitForStarted())
            return false;
        QDeadlineTimer deadline(60000);
        // Waiting on the program notices its end; a bare sleep would not.
        while (!deadline.hasExpired() && !program.process.waitForFinished(2)) {
            const platform::PgResult writing = watcher->run(
                "SELECT count(*) FROM pg_stat_activity a JOIN pg_locks l ON l.pid = a.pid "
                "WHERE l.locktype = 'advisory' AND l.granted AND a.query LIKE $1",
                platform::PgParams().add(QString::fromLatin1(statement + '%')));
            if (writing.rows() == 1 && writing.int64(0, 0) > 0)
                return !program.process.waitForFinished(200);
        }
        return false;
    }
    // Kills the server while `args` runs, starts it again; the program
    // must have failed, saying so.
    void crashDuring(const QStringList& args, const QByteArray& statement) {
        Program program(m_env->folder(), QStringList{QStringLiteral("--store"), m_address} + args);
        QVERIFY2(waitUntilWriting(program, statement),
                 program.process.readAllStandardError().constData());
        QVERIFY(server("kill"));
        QVERIFY(program.finish());
        QVERIFY(program.exitCode() != 0);
        QVERIFY(!program.process.readAllStandardError().isEmpty());
        QVERIFY(server("restart"));
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        if (wholeRunOnServer())
            QSKIP("runs in the ordinary run");
        if (!server("start"))
            QFAIL("the test's own server did not start");
        QFile address(m_serverDir.filePath(QStringLiteral("address")));
        if (!address.open(QIODevice::ReadOnly))
            QSKIP("PostgreSQL is not installed");
        m_address = QString::fromUtf8(address.readAll()).trimmed();
        // A store on the server with entries of its own, and a backup of
        // many more in a file.
        QVERIFY(m_env->store().openAll());
        QVERIFY(fillSampleStore(m_env->store(), kEntries));
        QVERIFY(BackupOperation(m_env->store()).backup(m_env->filePath(QStringLiteral("b.tld"))));
        m_env->store().close();
        auto server = ObjectStore::open(m_address, ObjectStore::Access::ReadWrite,
                                        platform::Locale::collationName(), nullptr);
        QVERIFY(server);
        // A slow server (a tenth of a millisecond a record written), so
        // that the work is caught in the middle.
        QVERIFY(static_cast<platform::PostgresObjectStore&>(*server).connection().exec(
            "CREATE FUNCTION slow() RETURNS trigger LANGUAGE plpgsql AS "
            "$$BEGIN PERFORM pg_sleep(0.0001); RETURN NEW; END$$; "
            "CREATE TRIGGER slow BEFORE INSERT OR UPDATE ON records "
            "FOR EACH ROW EXECUTE FUNCTION slow()"));
    }
    void cleanup() {
        server("stop");
        EnvironmentTest::cleanup();
    }

    void restoreLandsWholeOrNot() {
        crashDuring({QStringLiteral("restore"), m_env->filePath(QStringLiteral("b.tld"))}, "COPY");
        const int after = entriesOnServer();
        QVERIFY2(after == 0 || after == kEntries, qPrintable(QString::number(after)));
    }

    void replaceLandsWholeOrNot() {
        Program restore(m_env->folder(),
                        {QStringLiteral("--store"), m_address, QStringLiteral("restore"),
                         m_env->filePath(QStringLiteral("b.tld"))});
        QVERIFY(restore.finish());
        QCOMPARE(restore.exitCode(), 0);
        const QByteArray before = entriesDigest();
        QVERIFY(!before.isEmpty());
        crashDuring({QStringLiteral("replace-text"), QStringLiteral("client"),
                     QStringLiteral("Acme"), QStringLiteral("Acme Corp")},
                    "UPDATE");
        // None of it: the entries as they were. All of it would have ended
        // the program well, which it did not.
        QCOMPARE(entriesDigest(), before);
        QCOMPARE(entriesOnServer(), kEntries);
    }
};

TEMPOLATCH_TEST(ServerCrashTest);
#include "ServerCrashTest.moc"
