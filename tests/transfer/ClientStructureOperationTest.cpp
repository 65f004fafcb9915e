#include <QFile>
#include <QRegularExpression>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/RecordStore.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/BackupFile.h"
#include "transfer/ClientStructureOperation.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;

namespace {

// One client storage as other programs write it: `tasks` false leaves the
// "Tasks" stream out (a damaged file).
void writeClient(CompoundStorage& clients, const QString& storageName, const QString& name,
                 bool tasks = true) {
    CompoundStorage client = clients.createStorage(storageName);
    client.createStream(QStringLiteral("Name")).writeString(name);
    CompoundStream pairs = client.createStream(QStringLiteral("ProjectTasks"));
    pairs.writeUInt32(1);
    pairs.writeString(QStringLiteral("Web"));
    pairs.writeString(QStringLiteral("Design"));
    if (tasks) {
        CompoundStream names = client.createStream(QStringLiteral("Tasks"));
        names.writeUInt32(1);
        names.writeString(QStringLiteral("Admin"));
    }
    CompoundStream contacts = client.createStream(QStringLiteral("Contacts"));
    contacts.writeUInt32(0);
    CompoundStream rates = client.createStream(QStringLiteral("Rates"));
    rates.writeUInt32(1);
    BackupFile::writeRate(
        rates, test::sampleRate(0, QStringLiteral("R"), RateType::Normal, 100, at(2026, 1, 1)));
}

// A client structure file of `version` and `kind` with the clients
// "Alpha" and "Omega"; Omega's storage name is long enough to come after
// "DefaultClient" in the directory.
bool writeStructureFile(const QString& path, quint32 version, quint32 kind, bool damaged = false) {
    auto file = CompoundFile::create(path);
    CompoundStorage root = file->root();
    CompoundStream v = root.createStream(QStringLiteral("DataVersion"));
    v.writeUInt32(version);
    v.writeUInt32(kind);
    CompoundStorage clients = root.createStorage(QStringLiteral("Clients"));
    writeClient(clients, QStringLiteral("Client0"), QStringLiteral("Alpha"));
    writeClient(clients, QStringLiteral("Client100000000"), QStringLiteral("Omega"), !damaged);
    clients.createStream(QStringLiteral("DefaultClient")).writeUInt32(0);
    return file->commit();
}

}  // namespace

class ClientStructureOperationTest : public test::EnvironmentTest {
    Q_OBJECT

    QString path(const QString& name) const { return m_env->filePath(name); }
    RecordStore& store() { return m_env->store(); }
    ClientStructureStore& structure() { return store().clientStructure(); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(store().openAll());
    }

    void emptyStoreFile() {
        const QString file = path(QStringLiteral("empty.tlc"));
        QVERIFY(ClientStructureOperation(store()).exportTo(file));
        const QStringList lines = test::compoundLines(file);
        QCOMPARE(lines, (QStringList{"Clients storage", "Clients/DefaultClient stream 00000000",
                                     "DataVersion stream 2c01000004000000"}));
        test::compareWithOlefile(file, lines);
    }

    // "Clients" is the backup's, byte for byte, and nothing else is there.
    void clientsAreTheBackupsClients() {
        test::fillStore(3);
        test::fillStore(0);  // entries and expenses twice: they stay out
        const QString tlc = path(QStringLiteral("all.tlc"));
        const QString tld = path(QStringLiteral("all.tld"));
        QVERIFY(ClientStructureOperation(store()).exportTo(tlc));
        QVERIFY(BackupOperation(store()).backup(tld));
        const QStringList ours = test::compoundLines(tlc);
        QCOMPARE(ours.filter(QRegularExpression(QStringLiteral("^Clients"))),
                 test::compoundLines(tld).filter(QRegularExpression(QStringLiteral("^Clients"))));
        QCOMPARE(ours.size(), 1 + 1 + 3 * 6 + 1);
        QVERIFY(ours.contains(QStringLiteral("DataVersion stream 2c01000004000000")));
        test::compareWithOlefile(tlc, ours);
    }

    // Clients the store has get what they lack; no rate is added anywhere.
    void importIntoAStoreWithSomeClients() {
        test::fillStore(3);
        const QString file = path(QStringLiteral("three.tlc"));
        QVERIFY(ClientStructureOperation(store()).exportTo(file));
        const QStringList full = test::structureLines();
        QVERIFY(store().deleteAllData());

        Client own{0, QStringLiteral("Client 01"), 0};
        QVERIFY(addClient(structure().clients, own) != 0);
        QVERIFY(addProjectTask(structure().projects, own.clientId, QStringLiteral("Projekt Ü"),
                               QStringLiteral("Do")) != 0);
        QVERIFY(addProjectTask(structure().projects, own.clientId, QStringLiteral("Own"),
                               QStringLiteral("X")) != 0);
        Rate rate = test::sampleRate(own.clientId, QStringLiteral("Mine"), RateType::Normal, 10,
                                     at(2026, 1, 1));
        QCOMPARE(Rates(structure().rates).add(rate), WriteResult::Written);

        QCOMPARE(ClientStructureOperation(store()).importFrom(file),
                 int(BackupOperation::RestoreOk));
        QStringList expected;
        for (const QString& line : full) {
            if (line.startsWith(QLatin1String("rate ")))
                continue;
            expected << line;
        }
        // The client's own records come first, in the order they were added.
        const qsizetype at01 = expected.indexOf(QStringLiteral("client Client 01"));
        expected.move(at01 + 2, at01 + 1);  // "pair Projekt Ü/Do" before "pair Projekt Ü/"
        expected.insert(at01 + 2, QStringLiteral("pair Own/X"));
        expected.insert(expected.indexOf(QStringLiteral("client Client 02")), test::rateLine(rate));
        QCOMPARE(test::structureLines(), expected);

        // A second import finds everything there.
        const QString before = test::storeSnapshot();
        QCOMPARE(ClientStructureOperation(store()).importFrom(file),
                 int(BackupOperation::RestoreOk));
        QCOMPARE(test::storeSnapshot(), before);
    }

    // A client storage after "DefaultClient" in the directory is read too,
    // by the import and by a restore.
    void clientsAfterAStreamAreRead() {
        const QString file = path(QStringLiteral("order.tlc"));
        QVERIFY(writeStructureFile(file, 300, 4));
        const QStringList lines = test::compoundLines(file);
        QVERIFY(lines.indexOf(QStringLiteral("Clients/DefaultClient stream 00000000")) <
                lines.indexOf(QStringLiteral("Clients/Client100000000 storage")));
        QCOMPARE(ClientStructureOperation(store()).importFrom(file),
                 int(BackupOperation::RestoreOk));
        QCOMPARE(test::structureLines(),
                 (QStringList{"client Alpha", "pair Web/Design", "task Admin", "client Omega",
                              "pair Web/Design", "task Admin", "defaults"}));
    }

    // Other kinds and older versions are refused; a damaged file adds
    // nothing, not even the clients before the damage.
    void unusableFilesAddNothing_data() {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<quint32>("kind");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("result");
        QTest::newRow("backup") << 300u << 1u << false << int(BackupOperation::RestoreKindRefused);
        QTest::newRow("archive") << 300u << 2u << false << int(BackupOperation::RestoreKindRefused);
        QTest::newRow("version 299")
            << 299u << 4u << false << int(BackupOperation::RestoreUnsupported);
        QTest::newRow("second client without Tasks")
            << 300u << 4u << true << int(BackupOperation::RestoreFailed);
    }
    void unusableFilesAddNothing() {
        QFETCH(quint32, version);
        QFETCH(quint32, kind);
        QFETCH(bool, damaged);
        QFETCH(int, result);
        const QString file = path(QStringLiteral("other.tlc"));
        QVERIFY(writeStructureFile(file, version, kind, damaged));
        test::fillStore(1);
        const QString before = test::storeSnapshot();
        QCOMPARE(ClientStructureOperation(store()).importFrom(file), result);
        QCOMPARE(test::storeSnapshot(), before);
    }

    // And the other way round: Load Archive refuses a client structure file.
    void loadArchiveRefusesAStructureFile() {
        test::fillStore(2);
        const QString file = path(QStringLiteral("clients.tlc"));
        QVERIFY(ClientStructureOperation(store()).exportTo(file));
        const QString before = test::storeSnapshot();
        QCOMPARE(ArchiveOperation(store()).loadArchive(file),
                 int(BackupOperation::RestoreKindRefused));
        QCOMPARE(test::storeSnapshot(), before);
    }
};

TEMPOLATCH_TEST(ClientStructureOperationTest);
#include "ClientStructureOperationTest.moc"
