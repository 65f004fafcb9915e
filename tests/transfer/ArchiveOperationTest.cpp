#include <QFile>
#include <QSet>
#include <functional>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "transfer/ArchiveOperation.h"
#include "transfer/BackupFile.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;

namespace {

using Result = ArchiveOperation::ArchiveResult;

// An entry of a given date-time with a note, a paid date and texts.
TimeEntry entryAt(FileTime date, const QString& client) {
    TimeEntry e;
    e.date = date;
    e.client = client;
    e.project = QStringLiteral("Site ✓");
    e.task = QStringLiteral("Build");
    e.duration = 150;
    e.rate = 8000;
    e.status = EntryStatus::Paid;
    e.paidDate = at(2026, 2, 1);
    e.billTo = QStringLiteral("Ann");
    e.custom2 = QStringLiteral("c2");
    e.modified = at(2025, 12, 31, 23, 59, 58);
    e.note = QByteArray("\x00\xFFnote", 6);
    return e;
}

// A change another program makes to the store, through a connection of
// its own.
using Change = std::function<bool(RecordStore& other)>;

// Makes a change once the walk over the range is done and the entries are
// in the file: another window or command saving while the file is written.
class ChangedWhileWriting : public ArchiveOperation {
public:
    ChangedWhileWriting(RecordStore& store, FileTime start, FileTime end, Change change)
        : ArchiveOperation(store, start, end), m_change(std::move(change)) {}
    bool writeRecords(CompoundStorage& records) override {
        if (!ArchiveOperation::writeRecords(records))
            return false;
        RecordStore other;
        changed = other.openAll() && m_change(other);
        return true;
    }
    bool changed = false;

private:
    Change m_change;
};

Change addLate() {
    return [](RecordStore& other) {
        TimeEntry late = entryAt(at(2026, 1, 15, 12), QStringLiteral("Late"));
        return TimeEntries(other).add(late) == WriteResult::Written;
    };
}

// Edits the entry of `client`, then, when given, a second time.
Change edit(const QString& client, std::function<void(TimeEntry&)> change,
            std::function<void(TimeEntry&)> again = {}) {
    return [=](RecordStore& other) {
        TimeEntries entries(other);
        std::optional<TimeEntry> found;
        entries.forEach([&](const TimeEntry& e) {
            if (e.client == client)
                found = e;
            return !found;
        });
        if (!found)
            return false;
        change(*found);
        if (entries.update(*found) != WriteResult::Written)
            return false;
        if (again)
            again(*found);
        return !again || entries.update(*found) == WriteResult::Written;
    };
}

QStringList topLevelOf(const QStringList& lines) {
    QStringList top;
    for (const QString& line : lines) {
        const QString name = line.section(u' ', 0, 0);
        if (!name.contains(u'/'))
            top << line;
    }
    return top;
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class ArchiveOperationTest : public test::EnvironmentTest {
    Q_OBJECT

    QString path(const QString& name) const { return m_env->filePath(name); }
    RecordStore& store() { return m_env->store(); }

    void add(TimeEntry e) { QVERIFY(TimeEntries(store()).add(e) == WriteResult::Written); }

    QStringList clientsInStore() {
        QStringList out;
        for (const TimeEntry& e : test::allEntries())
            out << e.client;
        return out;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(store().openAll());
    }

    // The range takes its start and its end; a second on either side stays.
    void rangeEdgesWithDeletion() {
        const FileTime start = at(2026, 1, 10);
        const FileTime end = at(2026, 1, 20, 23, 59, 59);
        add(entryAt(at(2026, 1, 9, 23, 59, 59), QStringLiteral("before")));
        add(entryAt(end, QStringLiteral("at end")));
        add(entryAt(at(2026, 1, 15, 9), QStringLiteral("inside")));
        add(entryAt(start, QStringLiteral("at start")));
        add(entryAt(at(2026, 1, 21), QStringLiteral("after")));
        test::fillStore(1);  // November entries, three expenses, a client

        const QString file = path(QStringLiteral("range.tla"));
        ArchiveOperation archive(store(), start, end);
        QCOMPARE(archive.archive(file, true), Result::Written);
        QCOMPARE(int(archive.archivedIds().size()), 3);

        const QStringList lines = test::compoundLines(file);
        QCOMPARE(topLevelOf(lines), (QStringList{"Records storage", "Expenses storage",
                                                 "DataVersion stream 2c01000002000000"}));
        // In date order, numbered from 0.
        QStringList archived;
        auto opened = CompoundFile::open(file);
        QVERIFY(opened);
        const CompoundStorage records = opened->root().openStorage(QStringLiteral("Records"));
        for (const QString& line : lines.filter(QStringLiteral("Records/"))) {
            const QString name = line.section(u' ', 0, 0).section(u'/', 1);
            CompoundStream s = records.openStream(name);
            TimeEntry e;
            QVERIFY(BackupFile::readEntry(s, 300, FileTime(), e));
            archived << name + QLatin1Char(' ') + e.client;
        }
        QCOMPARE(archived, (QStringList{"Record0 at start", "Record1 inside", "Record2 at end"}));
        QCOMPARE(lines.filter(QStringLiteral("Expenses/Record")).size(), 3);
        QVERIFY(lines.filter(QStringLiteral("Clients")).isEmpty());
        test::compareWithOlefile(file, lines);

        QStringList kept = clientsInStore();
        QCOMPARE(kept.size(), 2 + 5);
        QVERIFY(kept.contains(QStringLiteral("before")) && kept.contains(QStringLiteral("after")));
        QCOMPARE(test::allExpenses().size(), 3);
    }

    void emptyRangeOrKeptEntriesChangeNothing_data() {
        QTest::addColumn<FileTime>("start");
        QTest::addColumn<bool>("deleteArchived");
        QTest::addColumn<int>("records");
        QTest::newRow("empty range, delete set") << at(2030, 1, 1) << true << 0;
        QTest::newRow("delete cleared") << at(2026, 1, 1) << false << 5;
    }
    void emptyRangeOrKeptEntriesChangeNothing() {
        QFETCH(FileTime, start);
        QFETCH(bool, deleteArchived);
        QFETCH(int, records);
        test::fillStore(2);
        const QString before = test::storeSnapshot();
        const QString file = path(QStringLiteral("same.tla"));
        QCOMPARE(ArchiveOperation(store(), start, at(2030, 12, 31)).archive(file, deleteArchived),
                 Result::Written);
        QCOMPARE(test::storeSnapshot(), before);
        const QStringList lines = test::compoundLines(file);
        QVERIFY(lines.contains(QStringLiteral("Records storage")));
        QCOMPARE(lines.filter(QStringLiteral("Records/")).size(), records);
        QCOMPARE(lines.filter(QStringLiteral("Expenses/")).size(), 3);
        test::compareWithOlefile(file, lines);
    }

    // What was archived with deletion comes back whole, with new record
    // ids; the expenses it carries are in the store already.
    void loadingAfterDeletionGivesEverythingBack() {
        test::fillStore(2);
        const QList<TimeEntry> entries = test::allEntries();
        const QList<ExpenseEntry> expenses = test::allExpenses();
        const QStringList structure = test::structureLines();
        const QString file = path(QStringLiteral("all.tla"));
        QCOMPARE(ArchiveOperation(store(), at(2026, 11, 1), at(2026, 11, 30)).archive(file, true),
                 Result::Written);
        QVERIFY(test::allEntries().isEmpty());

        ArchiveOperation load(store());
        QCOMPARE(load.loadArchive(file), int(BackupOperation::RestoreOk));
        QCOMPARE(load.skippedExpenses(), 3);
        const QList<TimeEntry> back = test::allEntries();
        QCOMPARE(test::withoutIds(back), test::withoutIds(entries));
        for (const TimeEntry& e : back)
            QVERIFY(!entries.contains(e));  // new ids
        QCOMPARE(test::allExpenses(), expenses);
        QCOMPARE(test::structureLines(), structure);
    }

    // An expense is skipped only when it is the same in every field; the
    // entries of the file are added every time.
    void expensesAreAddedOnceEntriesEveryTime() {
        test::fillStore(0);
        const QString file = path(QStringLiteral("twice.tla"));
        QCOMPARE(ArchiveOperation(store(), at(2026, 11, 2), at(2026, 11, 3, 23, 59, 59))
                     .archive(file, false),
                 Result::Written);
        // The user changed one expense since: only its last-modified time.
        QList<ExpenseEntry> expenses = test::allExpenses();
        ExpenseEntry changed = expenses.at(1);
        changed.modified = at(2026, 12, 24);
        QCOMPARE(Expenses(store()).update(changed), WriteResult::Written);

        ArchiveOperation load(store());
        QCOMPARE(load.loadArchive(file), int(BackupOperation::RestoreOk));
        QCOMPARE(load.skippedExpenses(), 2);
        QCOMPARE(test::allEntries().size(), 5 + 2);
        QCOMPARE(test::allExpenses().size(), 4);
        QCOMPARE(load.loadArchive(file), int(BackupOperation::RestoreOk));
        QCOMPARE(load.skippedExpenses(), 3);
        QCOMPARE(test::allEntries().size(), 5 + 4);
        QCOMPARE(test::allExpenses().size(), 4);
    }

    // Two equal expenses in one file were both kept by the user: an empty
    // store gets both back.
    void equalExpensesOfOneFileAreBothAdded() {
        ExpenseEntry x;
        x.date = at(2026, 3, 3);
        x.description = QStringLiteral("Taxi");
        x.amount = 1200;
        x.modified = at(2026, 3, 3, 18);
        for (int i = 0; i < 2; ++i) {
            ExpenseEntry copy = x;
            QCOMPARE(Expenses(store()).add(copy), WriteResult::Written);
        }
        const QString file = path(QStringLiteral("pair.tla"));
        QCOMPARE(ArchiveOperation(store(), at(2026, 1, 1), at(2026, 12, 31)).archive(file, true),
                 Result::Written);
        QVERIFY(store().deleteAllData());
        QCOMPARE(ArchiveOperation(store()).loadArchive(file), int(BackupOperation::RestoreOk));
        QCOMPARE(test::withoutIds(test::allExpenses()),
                 test::withoutIds(QList<ExpenseEntry>{x, x}));
    }

    // Only entries the file holds are deleted, and only once it is complete.
    void deletesOnlyWhatTheFileHolds() {
        add(entryAt(at(2026, 1, 12), QStringLiteral("archived")));
        const QString file = path(QStringLiteral("late.tla"));
        ChangedWhileWriting archive(store(), at(2026, 1, 1), at(2026, 1, 31), addLate());
        QCOMPARE(archive.archive(file, true), Result::Written);
        QVERIFY(archive.changed);
        QCOMPARE(clientsInStore(), QStringList{QStringLiteral("Late")});
        QCOMPARE(test::compoundLines(file).filter(QStringLiteral("Records/")).size(), 1);

        const QString before = test::storeSnapshot();
        QCOMPARE(ArchiveOperation(store(), at(2026, 1, 1), at(2026, 1, 31))
                     .archive(path(QStringLiteral("no/such/folder.tla")), true),
                 Result::WriteFailed);
        QCOMPARE(test::storeSnapshot(), before);
        QVERIFY(!QFile::exists(path(QStringLiteral("no/such/folder.tla"))));
    }

    // An entry another program changed after it went into the file is not
    // what the file holds: it stays, and the archive says how many did.
    void entriesChangedMeanwhileStay_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("kept");
        QTest::addColumn<QStringList>("left");
        const auto task = [](TimeEntry& e) { e.task = QStringLiteral("Edited"); };
        QTest::newRow("a text changed")
            << edit(QStringLiteral("b"), task) << 1 << QStringList{QStringLiteral("b")};
        QTest::newRow("moved to another day of the range")
            << edit(QStringLiteral("b"), [](TimeEntry& e) { e.date = at(2026, 1, 20); }) << 1
            << QStringList{QStringLiteral("b")};
        QTest::newRow("its note changed")
            << edit(QStringLiteral("c"), [](TimeEntry& e) { e.note = QByteArray("other"); }) << 1
            << QStringList{QStringLiteral("c")};
        QTest::newRow("marked paid on another day")
            << edit(QStringLiteral("a"), [](TimeEntry& e) { e.paidDate = at(2026, 2, 2); }) << 1
            << QStringList{QStringLiteral("a")};
        QTest::newRow("changed and changed back")
            << edit(QStringLiteral("b"), task,
                    [](TimeEntry& e) { e.task = QStringLiteral("Build"); })
            << 0 << QStringList{};
        QTest::newRow("deleted meanwhile") << Change([](RecordStore& other) {
            return TimeEntries(other).remove(test::allEntries().at(1).recordId) ==
                   WriteResult::Written;
        }) << 0 << QStringList{};
        QTest::newRow("one added, none changed") << addLate() << 0 << QStringList{"Late"};
    }
    void entriesChangedMeanwhileStay() {
        QFETCH(Change, change);
        QFETCH(int, kept);
        QFETCH(QStringList, left);
        add(entryAt(at(2026, 1, 11), QStringLiteral("a")));
        add(entryAt(at(2026, 1, 12), QStringLiteral("b")));
        add(entryAt(at(2026, 1, 13), QStringLiteral("c")));
        add(entryAt(at(2026, 2, 1), QStringLiteral("outside")));
        ChangedWhileWriting archive(store(), at(2026, 1, 1), at(2026, 1, 31), change);
        QCOMPARE(archive.archive(path(QStringLiteral("meanwhile.tla")), true), Result::Written);
        QVERIFY(archive.changed);
        QCOMPARE(int(archive.archivedIds().size()), 3);
        QCOMPARE(archive.keptChanged(), kept);
        QCOMPARE(clientsInStore(), left + QStringList{QStringLiteral("outside")});
        QCOMPARE(keptChangedText(kept).isEmpty(), kept == 0);
    }

    // Backups (kind 1) and client structure files (kind 4) are refused and
    // add nothing; an archive cut short adds nothing either.
    void unusableFilesAddNothing_data() {
        QTest::addColumn<quint32>("kind");
        QTest::addColumn<bool>("cutShort");
        QTest::addColumn<int>("result");
        QTest::newRow("backup") << 1u << false << int(BackupOperation::RestoreKindRefused);
        QTest::newRow("client structure")
            << 4u << false << int(BackupOperation::RestoreKindRefused);
        QTest::newRow("archive, last record cut short")
            << 2u << true << int(BackupOperation::RestoreFailed);
    }
    void unusableFilesAddNothing() {
        QFETCH(quint32, kind);
        QFETCH(bool, cutShort);
        QFETCH(int, result);
        const QString file = path(QStringLiteral("other.tla"));
        {
            auto out = CompoundFile::create(file);
            CompoundStorage root = out->root();
            CompoundStream version = root.createStream(QStringLiteral("DataVersion"));
            version.writeUInt32(300);
            version.writeUInt32(kind);
            CompoundStorage records = root.createStorage(QStringLiteral("Records"));
            CompoundStream first = records.createStream(QStringLiteral("Record0"));
            QVERIFY(BackupFile::writeEntry(first, entryAt(at(2026, 5, 5), QStringLiteral("A"))));
            CompoundStream second = records.createStream(QStringLiteral("Record1"));
            if (cutShort)
                second.writeUInt16(1);
            else
                QVERIFY(
                    BackupFile::writeEntry(second, entryAt(at(2026, 5, 6), QStringLiteral("B"))));
            root.createStorage(QStringLiteral("Expenses"));
            root.createStorage(QStringLiteral("Clients"))
                .createStream(QStringLiteral("DefaultClient"))
                .writeUInt32(0);
            QVERIFY(out->commit());
        }
        test::fillStore(1);
        const QString before = test::storeSnapshot();
        QCOMPARE(ArchiveOperation(store()).loadArchive(file), result);
        QCOMPARE(test::storeSnapshot(), before);
    }

    void resultMessages_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MessageIcon>("icon");
        QTest::newRow("0") << 0 << "Archive file has been restored." << MessageIcon::Information;
        QTest::newRow("1") << 1
                           << "Archive file cannot be loaded. The file may be created by "
                              "Tempolatch prior to version 2.3."
                           << MessageIcon::Stop;
        // A file too old to read says why nothing was added.
        QTest::newRow("2") << 2
                           << "This archive file was written by a version of Tempolatch too old "
                              "to be read. Nothing was added."
                           << MessageIcon::Stop;
        QTest::newRow("3") << 3 << "Only Archive file with data can be restored."
                           << MessageIcon::Warning;
    }
    void resultMessages() {
        QFETCH(int, result);
        QFETCH(QString, text);
        QFETCH(MessageIcon, icon);
        const LoadArchiveMessage message = loadArchiveMessage(result);
        QCOMPARE(message.text, text);
        QCOMPARE(message.icon, icon);
    }
};

TEMPOLATCH_TEST(ArchiveOperationTest);
#include "ArchiveOperationTest.moc"
