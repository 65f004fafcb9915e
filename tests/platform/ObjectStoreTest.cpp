#include <QFile>

#include "common/EnvironmentTest.h"
#include "common/ServerStore.h"
#include "common/TestRegistry.h"
#include "platform/DatabaseHandle.h"
#include "platform/SortKey.h"
#include "platform/SqliteObjectStore.h"
#include "platform/postgres/PgConnection.h"
#include "platform/postgres/PostgresObjectStore.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {
constexpr quint32 kDate = 0x03E90040;
constexpr quint32 kName = 0x03EA001F;
constexpr quint32 kKind = 0x044E0012;
constexpr quint32 kExtra = 0x03EB001F;

FileTime day(int d) {
    return *toFileTime(SystemTime{2026, 1, 0, quint16(d), 0, 0, 0, 0});
}
}  // namespace

// Every test runs on both backends: the store file and a server store.
class ObjectStoreTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<test::ServerStore> m_server;
    QString m_address;
    std::unique_ptr<ObjectStore> m_store;

    using Access = ObjectStore::Access;

    bool onServer() const { return m_server != nullptr; }

    std::unique_ptr<ObjectStore> openStore(Access access = Access::ReadWrite,
                                           const QString& locale = QStringLiteral("en_US")) {
        QString error;
        auto store = ObjectStore::open(m_address, access, locale, &error);
        if (!store)
            qWarning("%s", qPrintable(error));
        return store;
    }

    // Statements around the store, for faults it cannot make itself.
    bool runSql(const char* onFile, const char* onServer) {
        if (auto* server = dynamic_cast<PostgresObjectStore*>(m_store.get()))
            return server->connection().exec(onServer);
        return static_cast<SqliteObjectStore&>(*m_store).connection().exec(onFile);
    }
    // From `count` records of a database on, every insert is refused.
    bool refuseInsertsFrom(int count) {
        const QByteArray n = QByteArray::number(count);
        return runSql(
            "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.records WHEN (SELECT count(*) FROM "
            "main.records WHERE db = NEW.db) >= " +
                n + " BEGIN SELECT RAISE(ABORT, 'refused'); END;",
            "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN IF (SELECT "
            "count(*) FROM records WHERE db = NEW.db) >= " +
                n +
                " THEN RAISE EXCEPTION "
                "'refused'; END IF; RETURN NEW; END$$; CREATE TRIGGER refuse BEFORE INSERT ON "
                "records "
                "FOR EACH ROW EXECUTE FUNCTION refuse();");
    }
    int refusedCode() const {
        return onServer() ? ObjectStore::ErrorWriteFault : 1811;  // SQLITE_CONSTRAINT_TRIGGER
    }
    // The stored keys and blob of a record, and whether its second key is null.
    QList<QByteArray> storedRow(quint32 id) {
        if (auto* server = dynamic_cast<PostgresObjectStore*>(m_store.get())) {
            const PgResult q = server->connection().run(
                "SELECT k1, k2, props, (k2 IS NULL)::int::int8 FROM records WHERE id = $1",
                PgParams().add(qint64(id)));
            return q.rows() ? QList<QByteArray>{q.bytes(0, 0), q.bytes(0, 1), q.bytes(0, 2),
                                                q.int64(0, 3) ? "null" : "key"}
                            : QList<QByteArray>{};
        }
        auto q = static_cast<SqliteObjectStore&>(*m_store).connection().prepare(
            "SELECT k1, k2, props FROM records WHERE id = ?");
        q.bind(1, qint64(id));
        return q.step() ? QList<QByteArray>{q.blob(0), q.blob(1), q.blob(2),
                                            q.isNull(1) ? "null" : "key"}
                        : QList<QByteArray>{};
    }

    quint32 addDated(quint32 db, int d, const QString& tag) {
        return m_store->writeRecord(
            db, 0, {Property::fileTime(kDate, day(d)), Property::string(kExtra, tag)});
    }
    QString tagOf(DatabaseHandle& h) {
        PropertyList props;
        if (h.readCurrent(props) != DatabaseHandle::Read)
            return QStringLiteral("<none>");
        const Property* p = findProperty(props, kExtra);
        return p ? p->text : QString();
    }

private Q_SLOTS:
    void initTestCase_data() {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }
    void init() {
        QFETCH_GLOBAL(bool, server);
        EnvironmentTest::init();
        m_address = m_env->filePath(QStringLiteral("store.db"));
        if (server) {
            m_server = std::make_unique<test::ServerStore>();
            if (!m_server->isReady())
                QSKIP(qPrintable(m_server->why()));
            m_address = m_server->address();
        }
        m_store = openStore();
        QVERIFY(m_store);
    }
    void cleanup() {
        m_store.reset();
        m_server.reset();
        EnvironmentTest::cleanup();
    }

    void databasesKeepNamesTypesAndSortOrders() {
        const quint32 id =
            m_store->createDatabase(QStringLiteral("Lists"), 0x04C48CF2, {kKind, kName});
        QVERIFY(id != 0);
        QCOMPARE(m_store->createDatabase(QStringLiteral("Lists"), 1, {kKind}), 0u);
        QCOMPARE(m_store->findDatabase(QStringLiteral("Lists")), id);
        QCOMPARE(m_store->findDatabase(QStringLiteral("lists")), 0u);
        QCOMPARE(m_store->findDatabaseByType(0x04C48CF2), id);
        const auto info = m_store->databaseInfo(id);
        QCOMPARE(info->sortOrders, (QList<quint32>{kKind, kName}));
        QVERIFY(m_store->deleteDatabase(id));
        QCOMPARE(m_store->findDatabase(QStringLiteral("Lists")), 0u);
    }

    void seeksOnDates() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        addDated(db, 5, QStringLiteral("a"));
        addDated(db, 3, QStringLiteral("b"));
        addDated(db, 5, QStringLiteral("c"));
        addDated(db, 9, QStringLiteral("d"));
        auto h = m_store->openDatabase(db, kDate);

        // Greater-or-equal: at a key, between keys, past the last.
        QVERIFY(h->seekGreaterOrEqual(Property::fileTime(kDate, day(5))));
        QCOMPARE(tagOf(*h), QStringLiteral("a"));
        QVERIFY(h->seekCurrent(1));
        QCOMPARE(tagOf(*h), QStringLiteral("c"));  // equal keys in record id order
        QVERIFY(h->seekGreaterOrEqual(Property::fileTime(kDate, day(4))));
        QCOMPARE(tagOf(*h), QStringLiteral("a"));
        QCOMPARE(h->seekGreaterOrEqual(Property::fileTime(kDate, day(10))), 0u);
        PropertyList none;
        QCOMPARE(h->readCurrent(none), DatabaseHandle::NoCurrentRecord);

        // Beginning, end, and stepping back.
        QVERIFY(h->seekBeginning());
        QCOMPARE(tagOf(*h), QStringLiteral("b"));
        QVERIFY(h->seekEnd());
        QCOMPARE(tagOf(*h), QStringLiteral("d"));
        QVERIFY(h->seekCurrent(-2));
        QCOMPARE(tagOf(*h), QStringLiteral("a"));
        QCOMPARE(h->seekCurrent(3), 0u);
    }

    void firstAndNextEqualStopAtAnotherKey() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        addDated(db, 5, QStringLiteral("a"));
        addDated(db, 5, QStringLiteral("b"));
        addDated(db, 6, QStringLiteral("c"));
        auto h = m_store->openDatabase(db, kDate);
        const Property key = Property::fileTime(kDate, day(5));
        QVERIFY(h->seekFirstEqual(key));
        QVERIFY(h->seekNextEqual(key));
        QCOMPARE(tagOf(*h), QStringLiteral("b"));
        QCOMPARE(h->seekNextEqual(key), 0u);
        QCOMPARE(h->seekFirstEqual(Property::fileTime(kDate, day(4))), 0u);
    }

    // Walks and steps back over keys shared by many records (more than a
    // read-ahead batch) keep the order of key, then record id, across the
    // batches and across the step from equal keys to the next ones.
    void walksOverManyEqualKeys() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        QList<quint32> byDay[3];
        for (int i = 0; i < 900; ++i) {
            const int d = i % 3 == 0 ? 5 : (i % 3 == 1 ? 3 : 9);
            byDay[d == 3 ? 0 : (d == 5 ? 1 : 2)].append(addDated(db, d, QString::number(i)));
        }
        const QList<quint32> order = byDay[0] + byDay[1] + byDay[2];
        auto h = m_store->openDatabase(db, kDate);
        QList<quint32> walked;
        for (quint32 id = h->seekBeginning(); id != 0; id = h->seekCurrent(1))
            walked.append(id);
        QCOMPARE(walked, order);

        QCOMPARE(h->seekEnd(), order.last());
        QCOMPARE(h->seekCurrent(-400), order[order.size() - 401]);  // from day 9 into day 5
        QCOMPARE(h->seekRecord(order[350]), order[350]);
        QCOMPARE(h->seekCurrent(-100), order[250]);  // from day 5 into day 3
        QCOMPARE(h->seekCurrent(-251), 0u);
        const Property five = Property::fileTime(kDate, day(5));
        QCOMPARE(h->seekFirstEqual(five), byDay[1].first());
        int equal = 1;
        while (h->seekNextEqual(five))
            ++equal;
        QCOMPARE(equal, 300);
    }

    void seekRecordThenNextFollowsSortOrder() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        const quint32 late = addDated(db, 9, QStringLiteral("late"));
        const quint32 early = addDated(db, 1, QStringLiteral("early"));
        addDated(db, 5, QStringLiteral("middle"));
        auto h = m_store->openDatabase(db, kDate);
        QCOMPARE(h->seekRecord(early), early);
        QVERIFY(h->seekCurrent(1));
        QCOMPARE(tagOf(*h), QStringLiteral("middle"));
        QVERIFY(h->seekCurrent(1));
        QCOMPARE(h->currentId(), late);
        QCOMPARE(h->seekRecord(12345), 0u);
    }

    void textOrderIsLocaleAwareCaseSensitiveAndExact() {
        const quint32 db = m_store->createDatabase(QStringLiteral("C"), 1, {kName});
        for (const char* name : {"beta", "Alpha", "alpha", "Beta", "Älpha", "al"})
            m_store->writeRecord(db, 0, {Property::string(kName, QString::fromUtf8(name))});
        m_store->writeRecord(db, 0, {Property::string(kExtra, QStringLiteral("no name"))});
        auto h = m_store->openDatabase(db, kName);
        QStringList order;
        PropertyList props;
        for (quint32 id = h->seekBeginning(); id; id = h->seekCurrent(1)) {
            h->readCurrent(props);
            const Property* p = findProperty(props, kName);
            order.append(p ? p->text : QStringLiteral("-"));
        }
        QCOMPARE(order, (QStringList{QStringLiteral("al"), QStringLiteral("alpha"),
                                     QStringLiteral("Alpha"), QString::fromUtf8("Älpha"),
                                     QStringLiteral("beta"), QStringLiteral("Beta"),
                                     QStringLiteral("-")}));
        QVERIFY(h->seekFirstEqual(Property::string(kName, QStringLiteral("Alpha"))));
        h->readCurrent(props);
        QCOMPARE(findProperty(props, kName)->text, QStringLiteral("Alpha"));
        QCOMPARE(h->seekNextEqual(Property::string(kName, QStringLiteral("Alpha"))), 0u);
        QCOMPARE(h->seekFirstEqual(Property::string(kName, QStringLiteral("ALPHA"))), 0u);
    }

    void writesReplaceAppendAndDeleteProperties() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        const quint32 id = m_store->writeRecord(
            db, 0,
            {Property::fileTime(kDate, day(1)), Property::string(kExtra, QStringLiteral("x")),
             Property::ui2(0x03EE0012, 150)});
        QVERIFY(m_store->writeRecord(db, id,
                                     {Property::remove(kExtra), Property::ui2(0x03EE0012, 200),
                                      Property::ui4(0x03F00013, 7)}));
        const auto props = m_store->readRecord(db, id);
        QCOMPARE(props->size(), 3);
        QCOMPARE(props->at(0).id, kDate);
        QCOMPARE(props->at(1).toUi2(), quint16(200));
        QCOMPARE(props->at(2).toUi4(), 7u);
        QCOMPARE(findProperty(*props, kExtra), nullptr);
    }

    // Each refused write tells its own reason, whatever failed before it; a
    // write that succeeds leaves no error behind.
    void refusedWritesReportTheirOwnError() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        const quint32 id = addDated(db, 1, QStringLiteral("x"));
        QVERIFY(refuseInsertsFrom(0));
        QCOMPARE(addDated(db, 2, QStringLiteral("y")), 0u);
        QCOMPARE(m_store->lastError(), refusedCode());
        QCOMPARE(m_store->writeRecord(db, id + 100, {Property::ui2(0x03EE0012, 1)}), 0u);
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorNotFound);
        QCOMPARE(m_store->writeRecord(db, 0, {Property{0x00010099, 0, 1, {}, {}}}), 0u);
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorInvalidParameter);
        QCOMPARE(m_store->writeRecord(db + 100, 0, {Property::fileTime(kDate, day(3))}), 0u);
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorInvalidHandle);
        QVERIFY(!m_store->deleteRecord(db, id + 100));
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorNotFound);
        QVERIFY(m_store->writeRecord(db, id, {Property::string(kExtra, QStringLiteral("z"))}));
        QCOMPARE(m_store->lastError(), 0);

        auto reader = openStore(Access::ReadOnly);
        QVERIFY(reader);
        QCOMPARE(reader->writeRecord(db, id, {Property::string(kExtra, QStringLiteral("r"))}), 0u);
        QCOMPARE(reader->lastError(), ObjectStore::ErrorAccessDenied);
        QVERIFY(!reader->deleteRecord(db, id));
        QCOMPARE(reader->lastError(), ObjectStore::ErrorAccessDenied);
    }

    // Records added together are stored as each would be alone: ids one
    // after the other in their order, the same properties and keys; whole
    // groups of a statement and the rest alike.
    void addedRecordsStoreAsSingleWrites_data() {
        QTest::addColumn<int>("count");
        for (int count : {1, 31, 32, 33, 65})
            QTest::addRow("%d", count) << count;
    }
    void addedRecordsStoreAsSingleWrites() {
        QFETCH(int, count);
        const quint32 single = m_store->createDatabase(QStringLiteral("S"), 1, {kDate, kName});
        const quint32 many = m_store->createDatabase(QStringLiteral("M"), 1, {kDate, kName});
        const quint32 oneKey = m_store->createDatabase(QStringLiteral("K"), 1, {kDate});
        std::vector<PropertyList> records;
        for (int i = 0; i < count; ++i)
            records.push_back({Property::fileTime(kDate, day(1 + i * 7 % 28)),
                               Property::string(kName, QStringLiteral("n%1").arg(count - i)),
                               Property::remove(kExtra), Property::ui2(0x03EE0012, quint16(i)),
                               Property::ui2(0x03EE0012, quint16(i + 1))});
        QList<quint32> singleIds;
        for (const PropertyList& props : records)
            singleIds << m_store->writeRecord(single, 0, props);
        const quint32 first = m_store->addRecords(many, records);
        QVERIFY(first > singleIds.last());
        QCOMPARE(m_store->lastError(), 0);
        QCOMPARE(m_store->recordCount(many), count);
        auto rowOf = [&](quint32 id) { return storedRow(id); };
        for (int i = 0; i < count; ++i) {
            QCOMPARE(rowOf(first + quint32(i)), rowOf(singleIds[i]));
            QCOMPARE(m_store->readRecord(many, first + quint32(i))->at(2).toUi2(), quint16(i + 1));
        }
        // A database of one sort order gets no second key.
        const quint32 oneFirst = m_store->addRecords(oneKey, records);
        QVERIFY(oneFirst != 0);
        QCOMPARE(rowOf(oneFirst + quint32(count) - 1).value(3), QByteArray("null"));
    }

    // A record refused among others takes them all back, and only them: a
    // batch around keeps what it wrote before.
    void aRefusedAddTakesBackTheWholeGroup() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        StoreBatch batch(*m_store);
        const quint32 kept = addDated(db, 1, QStringLiteral("kept"));
        QVERIFY(refuseInsertsFrom(40));
        std::vector<PropertyList> records(70, {Property::fileTime(kDate, day(2))});
        QCOMPARE(m_store->addRecords(db, records), 0u);
        QCOMPARE(m_store->lastError(), refusedCode());
        QCOMPARE(m_store->recordCount(db), 1);
        QCOMPARE(m_store->addRecords(db, std::vector<PropertyList>(38, records[0])), kept + 1);
        QCOMPARE(m_store->recordCount(db), 39);
        QVERIFY(batch.commit());
        QCOMPARE(m_store->recordCount(db), 39);

        // Refused before anything is written: an unknown type, no such
        // database, nothing to add, ids beyond 32 bits, a read-only store.
        QCOMPARE(m_store->addRecords(
                     db, std::vector<PropertyList>{{Property{0x00010099, 0, 1, {}, {}}}}),
                 0u);
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorInvalidParameter);
        QCOMPARE(m_store->addRecords(db + 100, records), 0u);
        QCOMPARE(m_store->lastError(), ObjectStore::ErrorInvalidHandle);
        QCOMPARE(m_store->addRecords(db, std::vector<PropertyList>()), 0u);
        QVERIFY(runSql("DROP TRIGGER refuse;", "DROP TRIGGER refuse ON records"));
        QVERIFY(runSql("UPDATE sqlite_sequence SET seq = 4294967295 - 40 WHERE name = 'records'",
                       "UPDATE record_ids SET last = 4294967295 - 40"));
        QCOMPARE(m_store->addRecords(db, std::vector<PropertyList>(41, records[0])), 0u);
        QCOMPARE(m_store->recordCount(db), 39);
        QCOMPARE(m_store->addRecords(db, std::vector<PropertyList>(40, records[0])),
                 4294967295u - 39);
        auto reader = openStore(Access::ReadOnly);
        QVERIFY(reader);
        QCOMPARE(reader->addRecords(db, records), 0u);
        QCOMPARE(reader->lastError(), ObjectStore::ErrorAccessDenied);
    }

    // Decoded texts come back as they were written, whatever texts were
    // decoded before them (equal short texts share one copy); a damaged
    // length is refused.
    void decodedTextsAreTheTextsWritten() {
        QStringList texts = {QString(), QStringLiteral("USD"), QString(48, u'x'), QString(49, u'x'),
                             QStringLiteral("Caf\u00e9 \u4e2d")};
        for (int i = 0; i < 3000; ++i)
            texts << QStringLiteral("Client %1").arg(i % 1500);
        QStringList decoded;
        for (const QString& text : texts) {
            const auto props = decodeProperties(encodeProperties({Property::string(kName, text)}));
            QVERIFY(props);
            decoded << props->at(0).text;
        }
        QCOMPARE(decoded, texts);
        const auto again = decodeProperties(encodeProperties({Property::string(kName, "USD")}));
        QCOMPARE(again->at(0).text.constData(),
                 decodeProperties(encodeProperties({Property::string(kName, "USD")}))
                     ->at(0)
                     .text.constData());
        QByteArray cut = encodeProperties({Property::string(kName, QStringLiteral("USD"))});
        cut.chop(1);
        QVERIFY(!decodeProperties(cut));
    }

    void walkSeesItsOwnWritesAndDeletes() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        for (int d = 1; d <= 20; ++d)
            addDated(db, d, QString::number(d));
        auto h = m_store->openDatabase(db, kDate);
        QVERIFY(h->seekGreaterOrEqual(Property::fileTime(kDate, day(3))));
        QVERIFY(h->deleteRecord(h->currentId()));
        QVERIFY(h->seekCurrent(1));
        QCOMPARE(tagOf(*h), QStringLiteral("4"));
        addDated(db, 4, QStringLiteral("4b"));
        QVERIFY(h->seekCurrent(1));
        QCOMPARE(tagOf(*h), QStringLiteral("4b"));
    }

    void batchesCommitOrRollBackTogether() {
        const quint32 db = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        {
            StoreBatch batch(*m_store);
            addDated(db, 1, QStringLiteral("a"));
            addDated(db, 2, QStringLiteral("b"));
        }
        QCOMPARE(m_store->recordCount(db), 0);
        {
            StoreBatch batch(*m_store);
            addDated(db, 1, QStringLiteral("a"));
            QVERIFY(batch.commit());
        }
        QCOMPARE(m_store->recordCount(db), 1);
    }

    // A batch remembers the sort orders of the database it writes to; a
    // database deleted and made again in the batch (as a restore that
    // replaces all data does) may come back under the same id with others.
    void recreatedDatabaseInABatchSortsByItsOwnOrder() {
        StoreBatch batch(*m_store);
        const quint32 first = m_store->createDatabase(QStringLiteral("E"), 1, {kDate});
        addDated(first, 3, QStringLiteral("x"));
        QVERIFY(m_store->deleteDatabase(first));
        const quint32 again = m_store->createDatabase(QStringLiteral("E"), 1, {kExtra});
        for (const auto& [d, tag] :
             {std::pair{1, QStringLiteral("b")}, std::pair{2, QStringLiteral("c")},
              std::pair{3, QStringLiteral("a")}})
            QVERIFY(addDated(again, d, tag));
        QVERIFY(batch.commit());
        auto handle = m_store->openDatabase(again, kExtra);
        QVERIFY(handle);
        QStringList tags;
        for (quint32 id = handle->seekBeginning(); id != 0; id = handle->seekCurrent(1))
            tags << tagOf(*handle);
        QCOMPARE(tags, (QStringList{"a", "b", "c"}));
    }

    void recordIdsAreUniqueAcrossDatabasesAndNotReused() {
        const quint32 a = m_store->createDatabase(QStringLiteral("A"), 1, {kDate});
        const quint32 b = m_store->createDatabase(QStringLiteral("B"), 2, {kDate});
        const quint32 r1 = addDated(a, 1, {});
        const quint32 r2 = addDated(b, 1, {});
        QVERIFY(r1 != r2);
        QVERIFY(m_store->deleteRecord(b, r2));
        QVERIFY(!m_store->deleteRecord(a, r2));
        QVERIFY(addDated(b, 1, {}) > r2);
    }

    void foreignAndDamagedFilesAreLeftUntouched_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("this is not a database\n").repeated(100);
        QTest::newRow("garbage") << QByteArray(8192, '\x5a');
        QByteArray header("SQLite format 3");
        header.append('\0');
        header.append(QByteArray(4080, '\x01'));
        QTest::newRow("damaged header") << header;
    }
    void foreignAndDamagedFilesAreLeftUntouched() {
        QFETCH(QByteArray, content);
        if (onServer())
            QSKIP("a file's content");
        m_store.reset();
        const QString path = m_env->filePath(QStringLiteral("bad.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QString error;
        QVERIFY(!ObjectStore::open(path, Access::ReadWrite, QStringLiteral("en_US"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void anotherProgramsDatabaseIsNotTaken() {
        m_store.reset();
        QString path = m_env->filePath(QStringLiteral("other.db"));
        if (onServer()) {
            test::ServerStore other;
            QVERIFY(other.isReady());
            auto notes = PgConnection::open(other.address(), nullptr);
            QVERIFY(notes->exec("CREATE TABLE records(x int)"));
            path = other.address();
            QString error;
            QVERIFY(!ObjectStore::open(path, Access::ReadWrite, QStringLiteral("en_US"), &error));
            QVERIFY2(error.contains(QStringLiteral("not a Tempolatch store")), qPrintable(error));
            return;
        }
        {
            auto other =
                SqliteConnection::open(path, SqliteConnection::Mode::ReadWriteCreate, nullptr);
            QVERIFY(other->exec("CREATE TABLE notes(x)"));
        }
        QString error;
        QVERIFY(!ObjectStore::open(path, Access::ReadWrite, QStringLiteral("en_US"), &error));
        QVERIFY(error.contains(QStringLiteral("not a Tempolatch store")));
    }

    // A file locked by another program is reported; a server store opens
    // while a colleague's write is under way.
    void lockedStoreFailsToOpen() {
        if (onServer()) {
            auto colleague = openStore();
            QVERIFY(colleague->beginBatch());
            QVERIFY(colleague->createDatabase(QStringLiteral("E"), 1, {kDate}));
            auto mine = openStore();
            QVERIFY(mine);
            QCOMPARE(mine->findDatabase(QStringLiteral("E")), 0u);
            QVERIFY(colleague->commitBatch());
            QVERIFY(mine->findDatabase(QStringLiteral("E")) != 0);
            return;
        }
        m_store.reset();
        const QString path = m_env->filePath(QStringLiteral("store.db"));
        auto locker = SqliteConnection::open(path, SqliteConnection::Mode::ReadWrite, nullptr);
        QVERIFY(locker->exec("PRAGMA locking_mode=EXCLUSIVE"));
        QVERIFY(locker->exec("BEGIN EXCLUSIVE"));
        QString error;
        QVERIFY(!ObjectStore::open(path, Access::ReadWrite, QStringLiteral("en_US"), &error));
        locker->exec("ROLLBACK");
    }

    // A file's keys follow its user's locale; a shared store keeps the
    // order of whoever created it, for all its users alike.
    void textKeysFollowALocaleChange() {
        const quint32 db = m_store->createDatabase(QStringLiteral("C"), 1, {kName});
        for (const char* name : {"z", "ä", "a"})
            m_store->writeRecord(db, 0, {Property::string(kName, QString::fromUtf8(name))});
        m_store.reset();
        // Swedish sorts "ä" after "z".
        m_store = openStore(Access::ReadWrite, QStringLiteral("sv_SE"));
        QVERIFY(m_store);
        QCOMPARE(m_store->keys().localeName(),
                 onServer() ? QStringLiteral("en_US") : QStringLiteral("sv_SE"));
        m_store->writeRecord(db, 0, {Property::string(kName, QStringLiteral("b"))});
        auto h = m_store->openDatabase(db, kName);
        PropertyList props;
        QStringList order;
        for (quint32 id = h->seekBeginning(); id; id = h->seekCurrent(1)) {
            h->readCurrent(props);
            order << props.first().text;
        }
        QCOMPARE(order.join(QString()), QString::fromUtf8(onServer() ? "aäbz" : "abzä"));
    }
};

TEMPOLATCH_TEST(ObjectStoreTest);
#include "ObjectStoreTest.moc"
