#include "common/SampleStore.h"
#include "common/ServerStore.h"
#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "platform/postgres/PgConnection.h"
#include "platform/postgres/PostgresObjectStore.h"
#include "store/RecordStore.h"
#include "store/StoreCopy.h"

using namespace tempolatch;
using platform::ObjectStore;

namespace {

std::unique_ptr<ObjectStore> openStore(const QString& address) {
    QString error;
    auto store = ObjectStore::open(address, ObjectStore::Access::ReadWrite,
                                   platform::Locale::collationName(), &error);
    if (!store)
        qWarning("%s", qPrintable(error));
    return store;
}

// Every database and record of a store, with ids, in a comparable form.
QStringList contentsOf(const QString& address) {
    auto store = openStore(address);
    QStringList lines;
    for (const platform::DatabaseInfo& info : store->databases()) {
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(info.id)
                     .arg(info.name)
                     .arg(info.type)
                     .arg(info.recordCount);
        std::deque<ObjectStore::KeyedRow> rows;
        store->rowsAfter(info.id, 1, {}, 0, 1 << 20, rows);
        for (const auto& row : rows)
            lines << QString::number(row.id) + QLatin1Char(' ') + QLatin1String(row.props.toHex());
    }
    return lines;
}

}  // namespace

// The profile's file to a server store and back, all of it or nothing.
class StoreCopyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::ServerStore> m_server;
    QString m_file;

private Q_SLOTS:
    void init() {
        if (test::wholeRunOnServer())
            QSKIP("copies between the file and the server: the ordinary run's");
        m_env = std::make_unique<test::TestEnvironment>();
        m_server = std::make_unique<test::ServerStore>();
        if (!m_server->isReady())
            QSKIP(qPrintable(m_server->why()));
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillSampleStore(m_env->store(), 300));
        // A gap in the ids: the copy keeps them as they are.
        ObjectStore& file = *m_env->store().objectStore();
        const quint32 entries = m_env->store().entries().databaseId();
        std::deque<ObjectStore::KeyedRow> rows;
        file.rowsAfter(entries, 1, {}, 0, 10, rows);
        QVERIFY(file.deleteRecord(entries, rows.at(5).id));
        m_env->store().close();
        m_file = platform::Profile::storePath();
    }
    void cleanup() {
        m_server.reset();
        m_env.reset();
    }

    void copiesEveryRecordWithItsIdThereAndBack() {
        const QStringList original = contentsOf(m_file);
        QString error;
        QVERIFY2(copyStore(m_file, m_server->address(), &error), qPrintable(error));
        QCOMPARE(contentsOf(m_server->address()), original);

        const QString back = m_env->filePath(QStringLiteral("back.db"));
        QVERIFY2(copyStore(m_server->address(), back, &error), qPrintable(error));
        QCOMPARE(contentsOf(back), original);

        // New records and databases go on after the copied ones.
        auto server = openStore(m_server->address());
        const QList<quint32> ids = server->databaseIds();
        const quint32 added = server->writeRecord(ids.first(), 0, {});
        QVERIFY(added != 0);
        QVERIFY(original.last().section(QLatin1Char(' '), 0, 0).toUInt() < added);
        QVERIFY(server->createDatabase(QStringLiteral("New"), 1, {0x03E90040}) > ids.last());
    }

    void refusesAStoreThatIsNotEmpty() {
        QString error;
        QVERIFY(copyStore(m_file, m_server->address(), &error));
        const QStringList copied = contentsOf(m_server->address());
        QVERIFY(!copyStore(m_file, m_server->address(), &error));
        QVERIFY2(error.contains(QStringLiteral("is not empty")), qPrintable(error));
        QCOMPARE(contentsOf(m_server->address()), copied);
    }

    // A record refused half way takes the whole copy back.
    void aFailedCopyLeavesNothing() {
        {
            auto server = openStore(m_server->address());
            auto& pg = static_cast<platform::PostgresObjectStore&>(*server);
            QVERIFY(pg.connection().exec(
                "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN IF "
                "NEW.id > 200 THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END$$; "
                "CREATE TRIGGER refuse BEFORE INSERT ON records FOR EACH ROW EXECUTE "
                "FUNCTION refuse();"));
        }
        QString error;
        QVERIFY(!copyStore(m_file, m_server->address(), &error));
        QVERIFY(error.contains(QStringLiteral("cannot copy")));
        QCOMPARE(contentsOf(m_server->address()), QStringList());
    }
};

TEMPOLATCH_TEST(StoreCopyTest);
#include "StoreCopyTest.moc"
