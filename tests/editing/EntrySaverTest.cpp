#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "editing/EntrySaver.h"
#include "platform/Clock.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ListsDatabase.h"
#include "store/Project.h"
#include "store/RecordStore.h"

using namespace tempolatch;
using namespace tempolatch::test;

class EntrySaverTest : public test::EnvironmentTest {
    Q_OBJECT

    RecordStore& store() { return m_env->store(); }
    ClientStructureStore& structure() { return store().clientStructure(); }

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

    QStringList listTexts(ListKind kind) {
        ListsByKind lists(store().objectStore());
        if (!lists.open())
            return {};
        return lists.texts(kind);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(store().openAll());
    }

    void addsEntryAndWhatWasTyped() {
        TimeEntry entry = typedEntry();
        QVERIFY(EntrySaver(store()).save(entry));
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

        TimeEntry stored;
        QCOMPARE(store().entries().seekRecord(entry.recordId), entry.recordId);
        QCOMPARE(readEntry(store().entries(), stored), int(RecordDatabase::Read));
        stored.changeFlags = entry.changeFlags;  // the store keeps its own
        QCOMPARE(stored, entry);
    }

    void sameNameTwiceMakesOneClient() {
        TimeEntry first = typedEntry();
        first.project.clear();
        first.task = "Support";
        TimeEntry second = first;
        QVERIFY(EntrySaver(store()).save(first));
        QVERIFY(EntrySaver(store()).save(second));
        QCOMPARE(listClients(structure().clients).size(), 1);
        QVERIFY(first.recordId != second.recordId);
        const quint32 clientId = findClientId(structure().clients, "Acme");
        QCOMPARE(listTasks(structure().tasks, clientId), QStringList{"Support"});
        QCOMPARE(store().entryCount(), 2);
    }

    void updatesStoredEntry() {
        TimeEntry entry = typedEntry();
        QVERIFY(EntrySaver(store()).save(entry));
        const quint32 id = entry.recordId;
        entry.duration = 300;
        entry.custom1.clear();
        QVERIFY(EntrySaver(store()).save(entry));
        QCOMPARE(entry.recordId, id);
        QCOMPARE(store().entryCount(), 1);
        TimeEntry stored;
        store().entries().seekRecord(id);
        readEntry(store().entries(), stored);
        QCOMPARE(stored.duration, 300);
        QVERIFY(stored.custom1.isEmpty());
    }

    void unstorableEntryIsRefused() {
        TimeEntry entry = typedEntry();
        entry.duration = 70000;
        QVERIFY(!EntrySaver(store()).save(entry));
        QCOMPARE(store().entryCount(), 0);
    }

    void emptyClientAddsNoStructure() {
        TimeEntry entry = typedEntry();
        entry.client.clear();
        QVERIFY(EntrySaver(store()).save(entry));
        QVERIFY(listClients(structure().clients).isEmpty());
        QCOMPARE(listTexts(ListKind::Phase), QStringList{"Draft"});
    }
};

TEMPOLATCH_TEST(EntrySaverTest);
#include "EntrySaverTest.moc"
