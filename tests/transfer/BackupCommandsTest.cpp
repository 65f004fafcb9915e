#include <QFile>

#include "app/MainFrame.h"
#include "common/EnvironmentTest.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "platform/OutputFile.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "settings/Settings.h"
#include "store/ClientIdCounter.h"
#include "store/Expenses.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/TimeEntries.h"
#include "transfer/BackupCommands.h"
#include "transfer/BackupOperation.h"
#include "transfer/TransferTestSupport.h"
#include "views/EntryList.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using namespace tempolatch::platform;

class BackupCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    test::ScriptedUi& ui() { return m_env->ui(); }
    QString path(const QString& name) const { return m_env->filePath(name); }

    void addEntry(const QString& client) {
        TimeEntry e;
        e.date = Clock::nowFileTime();  // in the period the main window shows
        e.client = client;
        e.modified = e.date;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
    }
    QStringList entryClients() {
        QStringList clients;
        for (const TimeEntry& e : test::allEntries())
            clients << e.client;
        return clients;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    void createBackupWritesTheChosenFile() {
        addEntry(QStringLiteral("A"));
        ui().queueFile(path(QStringLiteral("mine")));
        QVERIFY(!createBackup(m_env->context(), nullptr));
        QCOMPARE(ui().fileFilters(), QStringList{QStringLiteral("Backup Files (*.tld)|*.tld|")});
        QVERIFY(ui().shown().isEmpty());
        // The default extension is added.
        const QStringList lines = test::compoundLines(path(QStringLiteral("mine.tld")));
        QVERIFY(lines.filter(QStringLiteral("Records/Record0 stream ")).size() == 1);

        // Cancel writes nothing and says nothing.
        ui().clear();
        QVERIFY(!createBackup(m_env->context(), nullptr));
        QVERIFY(ui().shown().isEmpty());

        // A failure says its cause; the message of space is for a full disk.
        ui().queueFile(path(QStringLiteral("no/such/folder.tld")));
        QVERIFY(!createBackup(m_env->context(), nullptr));
        QCOMPARE(ui().shownTexts(),
                 QStringList{QStringLiteral("Cannot write %1: the folder %2 does not exist.")
                                 .arg(path(QStringLiteral("no/such/folder.tld")),
                                      path(QStringLiteral("no/such")))});
        QCOMPARE(ui().shown().first().icon, MessageIcon::Stop);
        ui().clear();
        platform::OutputFile::setDiskSpaceForTesting(100);
        ui().queueFile(path(QStringLiteral("full.tld")));
        QVERIFY(!createBackup(m_env->context(), nullptr));
        platform::OutputFile::setDiskSpaceForTesting(-1);
        QCOMPARE(ui().shownTexts(), QStringList{resourceString(str::BackupFailed)});
    }

    // The save dialog never hands a file of the profile in use to a
    // writer: it says why and asks again.
    void saveDialogRefusesTheProfilesFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("the store") << QStringLiteral("store.db");
        QTest::newRow("the settings") << QStringLiteral("registry.db");
        QTest::newRow("the timers") << QStringLiteral("timers.dat");
    }
    void saveDialogRefusesTheProfilesFiles() {
        QFETCH(QString, name);
        addEntry(QStringLiteral("A"));
        const QString store = platform::Profile::storePath();
        const QByteArray before = test::fileContents(store);
        ui().queueFile(path(name));
        ui().queueFile(path(QStringLiteral("elsewhere.tld")));
        QVERIFY(!createBackup(m_env->context(), nullptr));
        QCOMPARE(ui().fileFilters().size(), 2);
        QCOMPARE(ui().shown().size(), 1);
        QCOMPARE(ui().shown().first().icon, MessageIcon::Stop);
        QVERIFY(ui().shown().first().text.contains(QStringLiteral("holds the data")));
        QCOMPARE(test::fileContents(store), before);
        QVERIFY(!QFile::exists(path(QStringLiteral("timers.dat"))));
        QVERIFY(QFile::exists(path(QStringLiteral("elsewhere.tld"))));
    }

    void restoreDeletingFirstOrOnTop_data() {
        QTest::addColumn<bool>("deleteFirst");
        QTest::addColumn<QStringList>("clients");
        QTest::newRow("Yes") << true << QStringList{QStringLiteral("A")};
        QTest::newRow("No") << false
                            << QStringList{QStringLiteral("A"), QStringLiteral("A"),
                                           QStringLiteral("B")};
    }
    void restoreDeletingFirstOrOnTop() {
        QFETCH(bool, deleteFirst);
        QFETCH(QStringList, clients);
        addEntry(QStringLiteral("A"));
        const QString file = path(QStringLiteral("a.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(file));
        addEntry(QStringLiteral("B"));

        ui().queueFile(file);
        ui().queueAnswer(deleteFirst ? Answer::Yes : Answer::No);
        QVERIFY(restoreBackup(m_env->context(), nullptr));
        QCOMPARE(ui().shownTexts(), QStringList{resourceString(str::DeleteBeforeRestoreQuestion)});
        QCOMPARE(ui().shown().first().icon, MessageIcon::Warning);
        QCOMPARE(ui().shown().first().buttons, Ui::Buttons::YesNo);
        QCOMPARE(ui().shown().first().defaultAnswer, Answer::No);
        QStringList actual = entryClients();
        actual.sort();
        QCOMPARE(actual, clients);
    }

    void restoreReportsUnusableFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("message");
        QTest::newRow("not a backup") << QByteArray("plain text") << int(str::RestoreFailed);
        QTest::newRow("version 249") << QByteArray() << int(str::RestoreUnsupported);
    }
    void restoreReportsUnusableFiles() {
        QFETCH(QByteArray, content);
        QFETCH(int, message);
        const QString file = path(QStringLiteral("bad.tld"));
        if (content.isEmpty()) {
            auto out = CompoundFile::create(file);
            CompoundStream version = out->root().createStream(QStringLiteral("DataVersion"));
            version.writeUInt32(249);
            version.writeUInt32(1);
            version.close();
            QVERIFY(out->commit());
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        addEntry(QStringLiteral("Kept"));
        ui().queueFile(file);
        ui().queueAnswer(Answer::Yes);
        QVERIFY(restoreBackup(m_env->context(), nullptr));
        QCOMPARE(ui().shownTexts().last(), resourceString(message));
        QCOMPARE(ui().shown().last().icon, MessageIcon::Stop);
        QCOMPARE(entryClients(), QStringList{QStringLiteral("Kept")});
        // The reopened databases take new records.
        addEntry(QStringLiteral("Later"));
        QCOMPARE(entryClients().size(), 2);
    }

    void removeAllDataKeepsSettings() {
        test::fillStore(2);
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Phase, QStringLiteral("Design")),
                 WriteResult::Written);
        QVERIFY(m_env->registry().createKey(QString::fromLatin1(Registry::AppKey)));
        QVERIFY(m_env->registry().writeNumber(QString::fromLatin1(Registry::AppKey),
                                              QStringLiteral("tlVersion"), 300));
        const QString before = test::storeSnapshot();

        QVERIFY(!removeAllData(m_env->context(), nullptr));  // No is the default answer
        QCOMPARE(ui().shownTexts(), QStringList{resourceString(str::DeleteAllDataQuestion)});
        QCOMPARE(ui().shown().first().icon, MessageIcon::Warning);
        QCOMPARE(test::storeSnapshot(), before);

        ui().queueAnswer(Answer::Yes);
        QVERIFY(removeAllData(m_env->context(), nullptr));
        QCOMPARE(ui().shown().size(), 2);  // the question only
        QVERIFY(test::allEntries().isEmpty());
        QVERIFY(test::allExpenses().isEmpty());
        QCOMPARE(test::structureLines(), QStringList{QStringLiteral("defaults")});
        ListsByKind lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        QVERIFY(lists.texts(ListKind::Phase).isEmpty());
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).peek(), 1u);
        QCOMPARE(m_env->registry().readNumber(QString::fromLatin1(Registry::AppKey),
                                              QStringLiteral("tlVersion")),
                 std::optional<quint32>(300));
    }

    void mainWindowRunsTheCommands() {
        addEntry(QStringLiteral("A"));
        MainFrame frame(m_env->context());
        QVERIFY(frame.create());
        const QString file = path(QStringLiteral("menu.tld"));
        ui().queueFile(file);
        frame.onCommand(cmd::BackupCreate);
        QVERIFY(QFile::exists(file));

        // The view shows the store as each command leaves it.
        const auto rowsShown = [&] { return frame.periodView()->list()->recordIds().size(); };
        QCOMPARE(rowsShown(), 1);

        ui().queueAnswer(Answer::Yes);
        frame.onCommand(cmd::RemoveAllData);
        QVERIFY(test::allEntries().isEmpty());
        QCOMPARE(rowsShown(), 0);

        ui().queueFile(file);
        ui().queueAnswer(Answer::Yes);
        frame.onCommand(cmd::BackupRestore);
        QCOMPARE(entryClients(), QStringList{QStringLiteral("A")});
        QCOMPARE(rowsShown(), 1);
    }
};

TEMPOLATCH_TEST(BackupCommandsTest);
#include "BackupCommandsTest.moc"
