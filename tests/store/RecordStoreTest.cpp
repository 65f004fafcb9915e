#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/ObjectStore.h"
#include "platform/Registry.h"
#include "store/ClientIdCounter.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/RecordStore.h"
#include "store/StoredRecord.h"

using namespace tempolatch;
using platform::Property;
using platform::PropertyList;

namespace {

// A record with just a date and the change flags, enough to see the rule.
class FlaggedRecord : public StoredRecord {
public:
    PropertyList propertiesForAdd(quint16 flags) const override { return props(flags); }
    PropertyList propertiesForUpdate(quint16 flags) const override { return props(flags); }
    bool hasChangeFlags() const override { return true; }

private:
    PropertyList props(quint16 flags) const {
        return {Property::fileTime(prop::EntryDate, platform::FileTime{1}),
                Property::ui2(prop::ChangeFlags, flags)};
    }
};

quint16 storedFlags(RecordDatabase& db) {
    PropertyList props;
    db.readProperty(props, {prop::ChangeFlags});
    return props.isEmpty() ? 0 : props.first().toUi2();
}

}  // namespace

class RecordStoreTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void firstStartCreatesEightDatabasesAndCounter() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        QCOMPARE(store.objectStore()->databases().size(), 8);
        for (const char* name :
             {db::EntriesName, db::ListsName, db::RatesName, db::ClientsName, db::ProjectsName,
              db::TasksName, db::ContactsName, db::ExpensesName})
            QVERIFY2(store.objectStore()->findDatabase(QString::fromLatin1(name)), name);
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).peek(), 1u);
        QCOMPARE(store.entryCount(), 0);
    }

    void counterStartsFromRegistryWhenClientsExisted() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        // An older store: the clients exist, the counter lived in the registry.
        ListsByKind lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        QVERIFY(lists.seekFirst(Property::ui2(prop::ListKind, 0)));
        QVERIFY(lists.deleteCurrent());
        auto& reg = m_env->registry();
        reg.createKey(QStringLiteral("Software\\Tempolatch"));
        reg.writeNumber(QStringLiteral("Software\\Tempolatch"), QStringLiteral("NextClient"), 42);
        QVERIFY(store.clientStructure().clients.open());
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).next(), 42u);
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).next(), 43u);
    }

    void changeFlagsRule() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        TimeEntryDatabase& entries = store.entries();
        FlaggedRecord record;
        QCOMPARE(entries.add(record, 3), WriteResult::Written);
        QCOMPARE(storedFlags(entries), quint16(3));
        QVERIFY(entries.seekRecord(record.recordId));
        QCOMPARE(entries.update(record, 3), WriteResult::Written);
        QCOMPARE(storedFlags(entries), quint16(7));  // 3 | 3 with 3 stored
        QCOMPARE(entries.update(record, 3), WriteResult::Written);
        QCOMPARE(storedFlags(entries), quint16(7));  // 3 | 7
        QCOMPARE(entries.add(record, 1), WriteResult::Written);
        QCOMPARE(entries.update(record, 2), WriteResult::Written);
        QCOMPARE(storedFlags(entries), quint16(3));  // 2 | 1, stored was not 3
    }

    void listValuesAreExactAndNeverEmpty() {
        QVERIFY(m_env->store().openAll());
        ListsByText lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        QVERIFY(lists.addText(QStringLiteral("Design"), ListKind::Phase));
        QVERIFY(!lists.addText(QStringLiteral("Design"), ListKind::Phase));
        QVERIFY(lists.addText(QStringLiteral("design"), ListKind::Phase));
        QVERIFY(lists.addText(QStringLiteral("Design"), ListKind::Custom1));
        QVERIFY(!lists.addText(QString(), ListKind::Phase));
        QVERIFY(lists.findText(QStringLiteral("Design"), ListKind::Custom1));
        QVERIFY(!lists.findText(QStringLiteral("Design"), ListKind::Currency));

        ListsByKind byKind(m_env->store().objectStore());
        QVERIFY(byKind.open());
        // By kind, values of one list keep the order they were added in.
        QCOMPARE(byKind.texts(ListKind::Phase),
                 (QStringList{QStringLiteral("Design"), QStringLiteral("design")}));
        QVERIFY(lists.findText(QStringLiteral("design"), ListKind::Phase));
        QVERIFY(lists.renameText(QStringLiteral("Build")));
        QCOMPARE(byKind.texts(ListKind::Phase),
                 (QStringList{QStringLiteral("Design"), QStringLiteral("Build")}));
    }

    void longListTextsAreCutOnRead() {
        QVERIFY(m_env->store().openAll());
        const QString longText(200, QLatin1Char('x'));
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Currency, longText),
                 WriteResult::Written);
        ListsByKind lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        QCOMPARE(lists.texts(ListKind::Currency).first().size(), MaxNameLength);
    }

    void savedReportsAreFoundByExactName() {
        QVERIFY(m_env->store().openAll());
        ListsByKind lists(m_env->store().objectStore());
        QVERIFY(lists.open());
        const quint32 id =
            lists.addProperties({Property::ui2(prop::ListKind, 10),
                                 Property::string(prop::ListText, QStringLiteral("Weekly")),
                                 Property::bytes(prop::ReportDefinition, QByteArray(272, '\0'))});
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Phase, QStringLiteral("Weekly")),
                 WriteResult::Written);
        QCOMPARE(lists.findReport(QStringLiteral("Weekly")), id);
        QCOMPARE(lists.findReport(QStringLiteral("weekly")), 0u);
    }

    void deleteAllDataLeavesEmptyDatabasesAndFreshCounter() {
        RecordStore& store = m_env->store();
        QObject window;
        QVERIFY(store.openAll(&window));
        FlaggedRecord record;
        QCOMPARE(store.entries().add(record, 3), WriteResult::Written);
        QCOMPARE(Lists(m_env->store().objectStore()).add(ListKind::Currency, QStringLiteral("EUR")),
                 WriteResult::Written);
        ClientIdCounter(m_env->store().objectStore()).next();
        ClientIdCounter(m_env->store().objectStore()).next();
        QVERIFY(store.deleteAllData(&window));
        QVERIFY(store.isOpen());
        QCOMPARE(store.objectStore()->databases().size(), 8);
        for (const auto& info : store.objectStore()->databases())
            QCOMPARE(info.recordCount, info.type == db::ListsType ? 1 : 0);
        QCOMPARE(ClientIdCounter(m_env->store().objectStore()).peek(), 1u);
        QCOMPARE(store.entries().notifyTarget(), &window);
        QCOMPARE(store.expenses().notifyTarget(), &window);
    }

    void databasesRecreatedElsewhereAreReopened() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        QString error;
        auto other = platform::ObjectStore::open(store.objectStore()->path(),
                                                 platform::ObjectStore::Access::ReadWrite,
                                                 QStringLiteral("en_US"), &error);
        QVERIFY(other);
        // Another program deletes the entries and makes them anew, under another id.
        QVERIFY(other->deleteDatabase(other->findDatabase(QString::fromLatin1(db::EntriesName))));
        other->createDatabase(QStringLiteral("Elsewhere"), 1, {prop::EntryDate});
        const quint32 id = other->createDatabase(QString::fromLatin1(db::EntriesName),
                                                 db::EntriesType, {prop::EntryDate});
        other->writeRecord(id, 0, {Property::fileTime(prop::EntryDate, platform::FileTime{5})});
        QVERIFY(store.reopenRecreated());
        QCOMPARE(store.entryCount(), 1);
        QVERIFY(!store.reopenRecreated());
    }

    void deleteAllOfClientRemovesOnlyThatClient() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        TasksDatabase& tasks = store.clientStructure().tasks;
        for (quint32 client : {1u, 2u, 1u, 3u, 1u})
            tasks.addProperties({Property::ui4(prop::ClientId, client)});
        tasks.deleteAllOfClient(1);
        QCOMPARE(tasks.recordCount(), 2);
        QCOMPARE(tasks.seekFirst(Property::ui4(prop::ClientId, 1)), 0u);
    }
};

TEMPOLATCH_TEST(RecordStoreTest);
#include "RecordStoreTest.moc"
