#include <QTest>
#include <QTextStream>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "editing/EntrySaver.h"
#include "platform/Clock.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/Lists.h"
#include "store/Project.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"

using namespace tempolatch;
using namespace tempolatch::test;

class EntrySaverTest : public test::EnvironmentTest {
    Q_OBJECT

    RecordStore& store() { return m_env->store(); }
    ClientStructureStore& structure() { return store().clientStructure(); }

    QString storeDump() {
        QString text;
        QTextStream out(&text);
        dumpStore(*store().objectStore(), out);
        return text;
    }

    static TimeEntry typedEntry() {
        TimeEntry entry;
        entry.date = platform::Clock::nowFileTime();
        entry.client = "Acme";
        entry.project = "Website";
        entry.task = "Design";
        entry.phase = "Draft";
        entry.currency = "EUR";
        entry.billTo = "Ann";
        entry.custom1 = "one";
        entry.custom3 = "three";
        entry.duration = 150;
        return entry;
    }

    QStringList listTexts(ListKind kind) { return Lists(store().objectStore()).texts(kind); }

    TimeEntry storedEntry(quint32 recordId) {
        return TimeEntries(store()).find(recordId).value_or(TimeEntry());
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(store().openAll());
    }

    void addsEntryAndWhatWasTyped() {
        TimeEntry entry = typedEntry();
        QCOMPARE(EntrySaver(store()).save(entry), WriteResult::Written);
        QVERIFY(entry.recordId != 0);
        QCOMPARE(entry.modified, platform::Clock::nowFileTime());

        const quint32 clientId = findClientId(structure().clients, "Acme");
        QVERIFY(clientId != NoClientId);
        QCOMPARE(listProjectTasks(structure().projects, clientId, "Website"),
                 QStringList{"Design"});
        QVERIFY(listTasks(structure().tasks, clientId).isEmpty());
        QCOMPARE(listContacts(structure().contacts, clientId), QStringList{"Ann"});
        QCOMPARE(listTexts(ListKind::Phase), QStringList{"Draft"});
        QCOMPARE(listTexts(ListKind::Currency), QStringList{"EUR"});
        QCOMPARE(listTexts(ListKind::Custom1), QStringList{"one"});
        QVERIFY(listTexts(ListKind::Custom2).isEmpty());
        QCOMPARE(listTexts(ListKind::Custom3), QStringList{"three"});

        TimeEntry stored = storedEntry(entry.recordId);
        stored.changeFlags = entry.changeFlags;  // the store keeps its own
        QCOMPARE(stored, entry);
    }

    void sameNameTwiceMakesOneClient() {
        TimeEntry first = typedEntry();
        first.project.clear();
        first.task = "Support";
        TimeEntry second = first;
        QCOMPARE(EntrySaver(store()).save(first), WriteResult::Written);
        QCOMPARE(EntrySaver(store()).save(second), WriteResult::Written);
        QCOMPARE(listClients(structure().clients).size(), 1);
        QVERIFY(first.recordId != second.recordId);
        const quint32 clientId = findClientId(structure().clients, "Acme");
        QCOMPARE(listTasks(structure().tasks, clientId), QStringList{"Support"});
        QCOMPARE(store().entryCount(), 2);
    }

    void updatesStoredEntry() {
        TimeEntry entry = typedEntry();
        QCOMPARE(EntrySaver(store()).save(entry), WriteResult::Written);
        const quint32 id = entry.recordId;
        entry.duration = 300;
        entry.custom1.clear();
        QCOMPARE(EntrySaver(store()).save(entry), WriteResult::Written);
        QCOMPARE(entry.recordId, id);
        QCOMPARE(store().entryCount(), 1);
        const TimeEntry stored = storedEntry(id);
        QCOMPARE(stored.duration, 300);
        QVERIFY(stored.custom1.isEmpty());
    }

    void unstorableEntryIsRefused() {
        TimeEntry entry = typedEntry();
        entry.duration = 70000;
        QCOMPARE(EntrySaver(store()).save(entry), WriteResult::NotStorable);
        QCOMPARE(store().entryCount(), 0);
    }

    // Whichever write is refused, the store keeps nothing of the save, and
    // the entry is left as the user had it.
    void refusedWriteKeepsNothing_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<bool>("existing");
        for (const char* name : {db::EntriesName, db::ClientsName, db::ProjectsName,
                                 db::ContactsName, db::ListsName}) {
            QTest::addRow("new, %s refused", name) << QString::fromLatin1(name) << false;
            QTest::addRow("stored, %s refused", name) << QString::fromLatin1(name) << true;
        }
    }

    void refusedWriteKeepsNothing() {
        QFETCH(QString, database);
        QFETCH(bool, existing);
        TimeEntry before;
        before.date = platform::Clock::nowFileTime();
        before.client = "Old";
        before.task = "Old task";
        if (existing) {
            QCOMPARE(EntrySaver(store()).save(before), WriteResult::Written);
        }
        const QString dump = storeDump();
        QVERIFY(refuseWrites(*store().objectStore(), database.toLatin1().constData(),
                             database == db::EntriesName));

        TimeEntry entry = typedEntry();
        entry.recordId = before.recordId;
        const TimeEntry typed = entry;
        EntrySaver saver(store());
        QCOMPARE(saver.save(entry), WriteResult::Refused);
        QCOMPARE(saver.error(), 1811);  // SQLITE_CONSTRAINT_TRIGGER
        QCOMPARE(entry, typed);
        QCOMPARE(storeDump(), dump);
        QVERIFY(m_env->ui().shown().isEmpty());  // the window shows it, not the saver
    }

    void emptyClientAddsNoStructure() {
        TimeEntry entry = typedEntry();
        entry.client.clear();
        QCOMPARE(EntrySaver(store()).save(entry), WriteResult::Written);
        QVERIFY(listClients(structure().clients).isEmpty());
        QCOMPARE(listTexts(ListKind::Phase), QStringList{"Draft"});
    }
};

TEMPOLATCH_TEST(EntrySaverTest);
#include "EntrySaverTest.moc"
