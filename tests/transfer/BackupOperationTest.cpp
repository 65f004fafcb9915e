#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include "common/EnvironmentTest.h"
#include "common/OleFileListing.h"
#include "common/SampleStore.h"
#include "common/ServerStore.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/Profile.h"
#include "records/EntryFilter.h"
#include "reports/CsvExport.h"
#include "store/ClientStructure.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "transfer/BackupFile.h"
#include "transfer/BackupOperation.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;

namespace {

TimeEntry fileEntry(int i) {
    TimeEntry e;
    e.status = EntryStatus::Billed;
    e.date = at(2025, 3, 1 + i, 8);
    e.client = QStringLiteral("Beta");
    e.task = QStringLiteral("T");
    e.duration = 100 + i;
    e.breakTime = 10;
    e.rate = 900;
    e.paidDate = at(2025, 4, 1);
    e.modified = at(2025, 3, 9);
    e.note = QByteArray(i * 3, char(0xA5));
    return e;
}

// A backup as older versions and other programs wrote it: two entries, an
// expense, the clients "Alpha" and "Beta" and a default rate, in the layout
// of `version`, with one kind of damage.
bool writeBackupFile(const QString& path, quint32 version, const QString& damage = QString()) {
    auto file = CompoundFile::create(path);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    if (damage != QLatin1String("no DataVersion")) {
        CompoundStream s = root.createStream(QStringLiteral("DataVersion"));
        s.writeUInt32(version);
        if (damage != QLatin1String("DataVersion without kind"))
            s.writeUInt32(1);
    }
    if (damage != QLatin1String("no Records")) {
        CompoundStorage records = root.createStorage(QStringLiteral("Records"));
        for (int i = 0; i < 2; ++i) {
            CompoundStream s = records.createStream(QStringLiteral("Record%1").arg(i));
            if (i == 1 && damage == QLatin1String("string longer than its stream")) {
                s.writeUInt16(1);
                s.writeUInt64(1);
                s.writeUInt32(0x7FFFFFFF);
                s.writeString(QStringLiteral("short"));
                continue;
            }
            test::writeEntryOfVersion(s, version, fileEntry(i));
        }
        if (damage == QLatin1String("record cut short")) {
            CompoundStream cut = records.createStream(QStringLiteral("Record2"));
            cut.writeUInt16(0);
            cut.writeUInt64(at(2025, 5, 1).ticks);
        }
        if (damage == QLatin1String("storage among the records"))
            records.createStorage(QStringLiteral("Record5"));
    }
    if (damage != QLatin1String("no Expenses") && version >= 300) {
        CompoundStorage expenses = root.createStorage(QStringLiteral("Expenses"));
        ExpenseEntry x;
        x.date = at(2025, 2, 2);
        x.client = QStringLiteral("Alpha");
        x.amount = 250;
        x.modified = at(2025, 2, 3);
        CompoundStream s = expenses.createStream(QStringLiteral("Record0"));
        BackupFile::writeExpense(s, x);
    }
    if (damage == QLatin1String("no Clients"))
        return file->commit();
    CompoundStorage clients = root.createStorage(QStringLiteral("Clients"));
    const QStringList names = {QStringLiteral("Alpha"), QStringLiteral("Beta")};
    for (int c = 0; c < names.size(); ++c) {
        CompoundStorage client = clients.createStorage(QStringLiteral("Client%1").arg(c));
        if (damage != QLatin1String("client without Name"))
            client.createStream(QStringLiteral("Name")).writeString(names[c]);
        CompoundStream pairs = client.createStream(QStringLiteral("ProjectTasks"));
        pairs.writeUInt32(2);
        for (const char* p : {"Site", "Site"})
            pairs.writeString(QString::fromLatin1(p));
        pairs.writeString(QStringLiteral("Shop"));
        pairs.writeString(QString());
        CompoundStream tasks = client.createStream(QStringLiteral("Tasks"));
        tasks.writeUInt32(1);
        tasks.writeString(QStringLiteral("Admin"));
        CompoundStream contacts = client.createStream(QStringLiteral("Contacts"));
        contacts.writeUInt32(1);
        contacts.writeString(QStringLiteral("Jo"));
        CompoundStream rates = client.createStream(QStringLiteral("Rates"));
        rates.writeUInt32(damage == QLatin1String("rate count beyond its stream") ? 0xFFFFFFFFu
                                                                                  : 1u);
        test::writeRateOfVersion(
            rates, version,
            test::sampleRate(0, names[c], RateType::Overtime, 7000 + c, at(2024, 8, 1)));
    }
    if (damage != QLatin1String("no DefaultClient")) {
        CompoundStream defaults = clients.createStream(QStringLiteral("DefaultClient"));
        defaults.writeUInt32(1);
        test::writeRateOfVersion(
            defaults, version,
            test::sampleRate(0, QStringLiteral("Base"), RateType::Normal, 5000, at(1850, 1, 1)));
    }
    return file->commit();
}

using Change = std::function<void(int, TimeEntry&, ExpenseEntry&)>;

// A backup of `count` entries one minute apart (record `damagedAt` cut
// short) and no client; with `change`, as many expenses, and the i-th
// entry and expense as it makes them.
bool writeEntriesFile(const QString& path, int count, int damagedAt, const Change& change = {}) {
    auto file = CompoundFile::create(path);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    CompoundStream version = root.createStream(QStringLiteral("DataVersion"));
    version.writeUInt32(300);
    version.writeUInt32(1);
    CompoundStorage records = root.createStorage(QStringLiteral("Records"));
    for (int i = 0; i < count; ++i) {
        CompoundStream s = records.createStream(QStringLiteral("Record%1").arg(i));
        TimeEntry e = fileEntry(i % 20);
        e.date = at(2025, 3, 1, 8).addMinutes(i);
        ExpenseEntry unused;
        if (change)
            change(i, e, unused);
        if (i == damagedAt)
            s.writeUInt16(0);
        else
            test::writeEntryOfVersion(s, 300, e);
    }
    CompoundStorage expenses = root.createStorage(QStringLiteral("Expenses"));
    for (int i = 0; change && i < count; ++i) {
        TimeEntry unused;
        ExpenseEntry x;
        x.client = QStringLiteral("Alpha");
        change(i, unused, x);
        CompoundStream s = expenses.createStream(QStringLiteral("Record%1").arg(i));
        BackupFile::writeExpense(s, x);
    }
    CompoundStorage clients = root.createStorage(QStringLiteral("Clients"));
    clients.createStream(QStringLiteral("DefaultClient")).writeUInt32(0);
    return file->commit();
}

// Writes `bytes` over the file: for damage below the layer's API.
bool rewrite(const QString& path, const std::function<void(QByteArray&)>& change) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = f.readAll();
    change(bytes);
    f.resize(0);
    f.seek(0);
    return f.write(bytes) == bytes.size();
}

// Makes the "Clients" storage contain the root: its directory entry is
// found by its name (UTF-16, 16 bytes with the terminator, type storage).
void loopClientsToRoot(QByteArray& bytes) {
    const QByteArray name = QByteArray::fromRawData(reinterpret_cast<const char*>(u"Clients"), 14);
    for (qsizetype at = bytes.indexOf(name); at >= 0; at = bytes.indexOf(name, at + 1)) {
        if (at % 128 == 0 && quint8(bytes[at + 0x40]) == 16 && quint8(bytes[at + 0x42]) == 1) {
            for (int i = 0; i < 4; ++i)
                bytes[at + 0x4C + i] = 0;
            return;
        }
    }
}

// Fails after the time entries are written.
class FailingBackup : public BackupOperation {
public:
    using BackupOperation::BackupOperation;
    bool writeExpenses(CompoundStorage&) override { return false; }
};

// Another program replaces all data, through a connection of its own, once
// the time entries are written and before the expenses and clients are.
class ReplacedWhileWriting : public BackupOperation {
public:
    using BackupOperation::BackupOperation;
    bool writeRecords(CompoundStorage& records) override {
        if (!BackupOperation::writeRecords(records))
            return false;
        RecordStore other;
        if (!other.openAll() || !other.deleteAllData())
            return false;
        ExpenseEntry x;
        x.date = test::at(2027, 1, 4);
        x.client = QStringLiteral("Newcomer");
        x.description = QStringLiteral("Train");
        replaced = Expenses(other).add(x) == WriteResult::Written;
        return true;
    }
    bool replaced = false;
};

class ArchivesOnly : public BackupOperation {
public:
    using BackupOperation::BackupOperation;
    bool acceptFileKind(quint32 kind) const override { return kind == 2; }
};

}  // namespace

class BackupOperationTest : public test::EnvironmentTest {
    Q_OBJECT

    QString path(const QString& name) const { return m_env->filePath(name); }
    RecordStore& store() { return m_env->store(); }

    static QSet<quint32> idsOf(const QList<TimeEntry>& entries) {
        QSet<quint32> ids;
        for (const TimeEntry& e : entries)
            ids.insert(e.recordId);
        return ids;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(store().openAll());
    }

    // Dates a file holds outside what the program shows (0 is "no date";
    // near 2^64 no calendar has) come in at the nearest end of the range, so
    // that the entries are exported and adding a duration cannot overflow.
    void datesOutsideTheShownRangeComeInAtItsEnds() {
        const quint64 dates[] = {0, 1, ~0ull, quint64(std::numeric_limits<qint64>::max())};
        const QString path = m_env->filePath(QStringLiteral("dates.tld"));
        QVERIFY(writeEntriesFile(path, 4, -1, [&](int i, TimeEntry& e, ExpenseEntry& x) {
            e.date = FileTime{dates[i]};
            e.paidDate = FileTime{i == 2 ? ~0ull : 0};
            x.date = FileTime{dates[i]};
        }));
        QCOMPARE(BackupOperation(store()).restore(path), int(BackupOperation::RestoreOk));

        const auto text = [](FileTime t) {
            return t.isNull() ? QString() : toSystemTime(t)->timestampText();
        };
        QStringList shown;
        for (const TimeEntry& e : test::allEntries())
            shown << text(e.date) + QLatin1Char('|') + text(e.paidDate);
        QCOMPARE(shown,
                 (QStringList{"1601-01-02 00:00:00|", "1601-01-02 00:00:00|",
                              "9999-12-31 00:00:00|9999-12-31 00:00:00", "9999-12-31 00:00:00|"}));
        for (const ExpenseEntry& x : test::allExpenses())
            QVERIFY(x.date == FileTime::firstShown() || x.date == FileTime::lastShown());
        const QString csv = m_env->filePath(QStringLiteral("all.csv"));
        QVERIFY(exportTimeEntryCsv(store(), m_env->settings(), EntryFilter(), csv));
        QCOMPARE(test::fileContents(csv).count("\r\n"), 1 + 4);
    }

    // A backup is one moment of the store: all of what was there when it
    // began, nothing of what another program wrote meanwhile.
    void backupIsOneMomentOfTheStore() {
        test::fillStore(3);
        const QList<TimeEntry> entries = test::allEntries();
        const QList<ExpenseEntry> expenses = test::allExpenses();
        const QStringList structure = test::structureLines();
        const QString file = path(QStringLiteral("moment.tld"));
        ReplacedWhileWriting backup(m_env->store());
        QVERIFY(backup.backup(file));
        QVERIFY(backup.replaced);

        m_env->store().close();
        QVERIFY(m_env->store().openAll());
        QCOMPARE(test::allExpenses().size(), 1);
        QCOMPARE(BackupOperation(m_env->store()).restore(file, true),
                 int(BackupOperation::RestoreOk));
        QCOMPARE(test::withoutIds(test::allEntries()), test::withoutIds(entries));
        QCOMPARE(test::withoutIds(test::allExpenses()), test::withoutIds(expenses));
        QCOMPARE(test::structureLines(), structure);
    }

    void emptyStoreLayout() {
        const QString file = path(QStringLiteral("empty.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        QCOMPARE(test::compoundLines(file),
                 QStringList({QStringLiteral("Clients storage"),
                              QStringLiteral("Clients/DefaultClient stream 00000000"),
                              QStringLiteral("Records storage"), QStringLiteral("Expenses storage"),
                              QStringLiteral("DataVersion stream 2c01000001000000")}));
    }

    void backupAndRestoreIntoEmptiedStore() {
        test::fillStore(12);
        const QList<TimeEntry> entries = test::allEntries();
        const QList<ExpenseEntry> expenses = test::allExpenses();
        const QStringList structure = test::structureLines();
        const QString file = path(QStringLiteral("all.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));

        // Client storages in directory order hold the clients in name order,
        // and every one comes before "DefaultClient".
        QStringList clientNames;
        for (const QString& line : test::compoundLines(file)) {
            if (line.startsWith(QLatin1String("Clients/")) && line.indexOf(u'/', 8) < 0 &&
                line.endsWith(QLatin1String(" storage")))
                clientNames << line.mid(8).section(u' ', 0, 0);
            if (line.startsWith(QLatin1String("Clients/DefaultClient")))
                clientNames << QStringLiteral("DefaultClient");
        }
        QStringList expectedNames;
        for (int i = 0; i < 12; ++i)
            expectedNames << QStringLiteral("Client%1").arg(i);
        QCOMPARE(clientNames, expectedNames << QStringLiteral("DefaultClient"));

        QVERIFY(store().deleteAllData());
        QCOMPARE(BackupOperation(m_env->store()).restore(file), int(BackupOperation::RestoreOk));

        const QList<TimeEntry> restored = test::allEntries();
        QCOMPARE(test::withoutIds(restored), test::withoutIds(entries));
        QVERIFY(!idsOf(restored).intersects(idsOf(entries)));
        for (const TimeEntry& e : restored)
            QCOMPARE(e.changeFlags, quint16(3));
        QCOMPARE(restored.at(4).note.size(), 1200);
        const QList<ExpenseEntry> restoredExpenses = test::allExpenses();
        QCOMPARE(test::withoutIds(restoredExpenses), test::withoutIds(expenses));
        for (const ExpenseEntry& x : restoredExpenses)
            QCOMPARE(x.changeFlags, quint16(3));
        QCOMPARE(test::structureLines(), structure);
        for (const Rate& r : ClientStructure(store()).rateList(0))
            QCOMPARE(r.changeFlags, quint16(3));
        // Ids are handed out anew in the order the storages are read.
        const QList<Client> clients = listClients(store().clientStructure().clients);
        for (int i = 0; i < clients.size(); ++i)
            QCOMPARE(clients[i].clientId, quint32(i + 1));
    }

    void restoringTwiceAddsRecordsTwiceAndNamesOnce() {
        test::fillStore(3);
        const QString file = path(QStringLiteral("twice.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        const QStringList structure = test::structureLines();
        QVERIFY(store().deleteAllData());
        QCOMPARE(BackupOperation(m_env->store()).restore(file), 0);
        QCOMPARE(BackupOperation(m_env->store()).restore(file), 0);

        QCOMPARE(test::allEntries().size(), 10);
        QCOMPARE(test::allExpenses().size(), 6);
        // Every rate twice, everything else once.
        QStringList expected;
        for (const QString& line : structure) {
            expected << line;
            if (line.startsWith(QLatin1String("rate ")))
                expected << line;
        }
        QStringList actual = test::structureLines();
        std::sort(expected.begin(), expected.end());
        std::sort(actual.begin(), actual.end());
        QCOMPARE(actual, expected);
    }

    void olderDataVersions_data() {
        QTest::addColumn<quint32>("version");
        QTest::newRow("250") << 250u;
        QTest::newRow("260") << 260u;
        QTest::newRow("300") << 300u;
    }
    void olderDataVersions() {
        QFETCH(quint32, version);
        const QString file = path(QStringLiteral("v%1.tld").arg(version));
        QVERIFY(writeBackupFile(file, version));
        QCOMPARE(BackupOperation(m_env->store()).restore(file), 0);

        const QList<TimeEntry> entries = test::allEntries();
        QCOMPARE(entries.size(), 2);
        for (int i = 0; i < 2; ++i) {
            TimeEntry expected = fileEntry(i);
            if (version < 300)
                expected.breakTime = 0;
            if (version < 251)
                expected.modified = FileTime();
            QCOMPARE(test::withoutIds(QList<TimeEntry>{entries[i]}), QList<TimeEntry>{expected});
        }
        QCOMPARE(test::allExpenses().size(), version >= 300 ? 1 : 0);

        const FileTime now = Clock::nowFileTime();
        ClientStructureStore& s = store().clientStructure();
        const quint32 beta = findClientId(s.clients, QStringLiteral("Beta"));
        QCOMPARE(projectRecords(s.projects, beta).size(), 2);
        QCOMPARE(listTasks(s.tasks, beta), QStringList{QStringLiteral("Admin")});
        QCOMPARE(listContacts(s.contacts, beta), QStringList{QStringLiteral("Jo")});
        const QList<Rate> rates = listRates(s.rates, beta);
        QCOMPARE(rates.size(), 1);
        QCOMPARE(rates[0].rate, 7001);
        QCOMPARE(rates[0].modified, version >= 251 ? at(2024, 8, 1) : FileTime());
        // A default rate dated before 1900 is dated now.
        const QList<Rate> defaults = listRates(s.rates, 0);
        QCOMPARE(defaults.size(), 1);
        QCOMPARE(defaults[0].modified, version >= 251 ? now : FileTime());
    }

    // A file that cannot be used changes nothing, even when all data was to
    // be deleted first; the store stays usable.
    void damagedFilesChangeNothing_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("result");
        for (const char* damage :
             {"missing file", "empty file", "garbage", "truncated file", "directory loops",
              "no DataVersion", "DataVersion without kind", "no Records", "no Expenses",
              "no Clients", "no DefaultClient", "client without Name", "record cut short",
              "string longer than its stream", "rate count beyond its stream",
              "storage among the records"})
            QTest::newRow(damage) << QString::fromLatin1(damage) << 1;
        QTest::newRow("version 249") << QStringLiteral("version 249") << 2;
        QTest::newRow("kind refused") << QStringLiteral("kind refused") << 3;
    }
    void damagedFilesChangeNothing() {
        QFETCH(QString, damage);
        QFETCH(int, result);
        const QString file = path(QStringLiteral("damaged.tld"));
        if (damage == QLatin1String("version 249")) {
            QVERIFY(writeBackupFile(file, 249));
        } else if (damage != QLatin1String("missing file")) {
            QVERIFY(writeBackupFile(file, 300, damage));
        }
        if (damage == QLatin1String("empty file"))
            QVERIFY(rewrite(file, [](QByteArray& b) { b.clear(); }));
        if (damage == QLatin1String("garbage")) {
            QVERIFY(rewrite(file, [](QByteArray& b) {
                QRandomGenerator random(3);
                for (qsizetype i = 0; i < b.size(); ++i)
                    b[i] = char(random.bounded(256));
            }));
        }
        if (damage == QLatin1String("truncated file"))
            QVERIFY(rewrite(file, [](QByteArray& b) { b.truncate(b.size() / 2); }));
        if (damage == QLatin1String("directory loops"))
            QVERIFY(rewrite(file, loopClientsToRoot));

        test::fillStore(2);
        // Another database after ours: databases recreated by a deletion get
        // other ids than the ones they replace.
        QVERIFY(
            store().objectStore()->createDatabase(QStringLiteral("Other"), 7, {prop::EntryDate}));
        const QString before = test::storeSnapshot();
        const QList<TimeEntry> entries = test::allEntries();
        for (bool deleteAll : {false, true}) {
            std::unique_ptr<BackupOperation> op =
                damage == QLatin1String("kind refused")
                    ? std::make_unique<ArchivesOnly>(m_env->store())
                    : std::make_unique<BackupOperation>(m_env->store());
            QCOMPARE(op->restore(file, deleteAll), result);
            QCOMPARE(test::storeSnapshot(), before);
            // Read through the store's own databases, which stay usable.
            QCOMPARE(test::allEntries(), entries);
            QCOMPARE(listClients(store().clientStructure().clients).size(), 2);
        }
        // The same store takes a good file afterwards, exactly once.
        const QString good = path(QStringLiteral("good.tld"));
        QVERIFY(writeBackupFile(good, 300));
        QCOMPARE(BackupOperation(m_env->store()).restore(good, true), 0);
        QCOMPARE(test::allEntries().size(), 2);
        QCOMPARE(test::allExpenses().size(), 1);
    }

    // Entries are added to the store in groups: more than one group comes
    // back whole and in order, and a bad record in a later group leaves the
    // store as it was, the groups already added included.
    void entriesOfManyGroupsRestoreWholeOrNotAtAll_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("damagedAt");  // -1: none
        QTest::newRow("a group less one") << 255 << -1;
        QTest::newRow("a group") << 256 << -1;
        QTest::newRow("a group and one") << 257 << -1;
        QTest::newRow("three groups and more") << 800 << -1;
        QTest::newRow("damaged in the third group") << 800 << 700;
        QTest::newRow("damaged first of the second group") << 300 << 256;
        QTest::newRow("damaged last") << 513 << 512;
    }
    void entriesOfManyGroupsRestoreWholeOrNotAtAll() {
        QFETCH(int, count);
        QFETCH(int, damagedAt);
        const QString file = path(QStringLiteral("many.tld"));
        QVERIFY(writeEntriesFile(file, count, damagedAt));
        test::fillStore(2);
        const QString before = test::storeSnapshot();
        const QList<TimeEntry> kept = test::allEntries();
        const int result = BackupOperation(m_env->store()).restore(file, true);
        if (damagedAt >= 0) {
            QCOMPARE(result, int(BackupOperation::RestoreFailed));
            QCOMPARE(test::storeSnapshot(), before);
            QCOMPARE(test::allEntries(), kept);
            return;
        }
        QCOMPARE(result, int(BackupOperation::RestoreOk));
        const QList<TimeEntry> restored = test::allEntries();
        QCOMPARE(restored.size(), count);
        QSet<quint32> ids;
        for (int i = 0; i < count; ++i) {
            TimeEntry expected = fileEntry(i % 20);
            expected.date = at(2025, 3, 1, 8).addMinutes(i);
            QCOMPARE(test::withoutIds(QList<TimeEntry>{restored[i]}), QList<TimeEntry>{expected});
            QCOMPARE(restored[i].changeFlags, quint16(3));
            ids.insert(restored[i].recordId);
        }
        QCOMPARE(ids.size(), count);
        // Each restored entry is found by its id.
        QCOMPARE(TimeEntries(store()).find(restored.last().recordId)->date, restored.last().date);
    }

    void failedBackupLeavesNoFileAndKeepsTheOldOne() {
        test::fillStore(2);
        const QString file = path(QStringLiteral("old.tld"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the previous backup");
        old.close();
        const QStringList filesBefore = QDir(m_env->folder()).entryList(QDir::Files);

        QVERIFY(!FailingBackup(m_env->store()).backup(file));
        QVERIFY(!FailingBackup(m_env->store()).backup(path(QStringLiteral("new.tld"))));
        QVERIFY(
            !BackupOperation(m_env->store()).backup(path(QStringLiteral("missing/folder.tld"))));
        // Never over the store it backs up, by whatever name.
        QVERIFY(!BackupOperation(m_env->store()).backup(Profile::storePath()));
        QVERIFY(!BackupOperation(m_env->store())
                     .backup(m_env->folder() + QStringLiteral("/./store.db-wal")));
        // A profile on a server has no store file for a link to point at.
        if (!test::wholeRunOnServer()) {
            QVERIFY(QFile::link(Profile::storePath(), path(QStringLiteral("link.tld"))));
            QVERIFY(!BackupOperation(m_env->store()).backup(path(QStringLiteral("link.tld"))));
            QVERIFY(QFile::remove(path(QStringLiteral("link.tld"))));
        }
        QCOMPARE(test::allEntries().size(), 5);

        QCOMPARE(QDir(m_env->folder()).entryList(QDir::Files), filesBefore);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the previous backup"));
        old.close();
        // A good one replaces it.
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        QVERIFY(!test::compoundLines(file).isEmpty());
    }

    void olefileReadsOurBackups() {
        test::fillStore(12);
        const QString file = path(QStringLiteral("ole.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        const test::OleFileListing theirs = test::oleFileListing(file);
        if (!theirs.available)
            QSKIP("python3-olefile is not installed");
        QVERIFY2(theirs.ok, qPrintable(theirs.error));
        QStringList ours = test::compoundLines(file);
        QCOMPARE(ours.size(), 5 + 5 + 3 + 12 * 6);
        ours.sort();
        QCOMPARE(theirs.lines, ours);
    }
    // Backups of fixed samples, byte for byte as the writer made them before
    // it streamed its directory: a small file, and one large enough for
    // allocation tables listed beyond the header. olefile reads the small one.
    void sampleBackupsMatchTheirGoldenFiles() {
        QFile golden(test::testDataPath(QStringLiteral("transfer/sample-backups.txt")));
        QStringList expected;
        if (!test::regeneratingGoldenFiles()) {
            QVERIFY2(golden.open(QIODevice::ReadOnly | QIODevice::Text),
                     qPrintable(golden.fileName()));
            expected = QString::fromLatin1(golden.readAll()).split(u'\n', Qt::SkipEmptyParts);
        }
        QStringList produced;
        QString largeFile;
        for (const int count : {48, 24000}) {
            m_env = std::make_unique<test::TestEnvironment>();
            QVERIFY(store().openAll());
            QVERIFY(test::fillSampleStore(store(), count));
            const QString file = path(QStringLiteral("sample.tld"));
            QVERIFY(BackupOperation(m_env->store()).backup(file));
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly));
            const QByteArray bytes = written.readAll();
            produced
                << QStringLiteral("%1 entries: %2 bytes, sha256 %3")
                       .arg(count)
                       .arg(bytes.size())
                       .arg(QString::fromLatin1(
                           QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
            QStringList ours = test::compoundLines(file);
            QCOMPARE(ours.size(), 4 + 1 + 6 + 4 * 6 + count);
            if (count > 1000)
                continue;
            const test::OleFileListing theirs = test::oleFileListing(file);
            if (!theirs.available)
                continue;
            QVERIFY2(theirs.ok, qPrintable(theirs.error));
            ours.sort();
            QCOMPARE(theirs.lines, ours);
        }
        if (test::regeneratingGoldenFiles()) {
            QVERIFY(golden.open(QIODevice::WriteOnly | QIODevice::Text));
            golden.write(produced.join(u'\n').toLatin1() + '\n');
            return;
        }
        QCOMPARE(produced, expected);
    }
};

TEMPOLATCH_TEST(BackupOperationTest);
#include "BackupOperationTest.moc"
