#include <QCryptographicHash>
#include <QFile>

#include "common/SampleStore.h"
#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "platform/ObjectStore.h"
#include "platform/Profile.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/Lists.h"
#include "store/ListsDatabase.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/Rates.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntries.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using platform::Property;
using test::at;

class StoreDumpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dumpShowsDatabasesRecordsAndValuesWithoutWriting() {
        test::TestEnvironment env;
        QVERIFY(env.store().openAll());
        env.store().entries().addProperties(
            {Property::fileTime(prop::EntryDate, platform::FileTime{125911584000000000ull}),
             Property::string(prop::ClientName, QStringLiteral("Acme \"East\""))});
        QCOMPARE(Lists(env.store().objectStore()).add(ListKind::Currency, QStringLiteral("EUR")),
                 WriteResult::Written);
        env.store().close();

        // Every byte of the store file stays as it was (a server's store
        // has no file: a dump there is a read-only session's).
        auto fileHash = [] {
            QFile f(platform::Profile::storePath());
            f.open(QIODevice::ReadOnly);
            return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        };
        const QByteArray before = fileHash();
        QString error;
        auto store = platform::ObjectStore::open(platform::Profile::storeAddress(),
                                                 platform::ObjectStore::Access::ReadOnly,
                                                 platform::Locale::collationName(), &error);
        QVERIFY2(store, qPrintable(error));
        QString text;
        QTextStream out(&text);
        dumpStore(*store, out);
        out.flush();
        QVERIFY(text.contains(QStringLiteral(
            "database \"Tempolatch Data 1\" type 0x04C48CF1 sort 0x03E90040 records 1")));
        QVERIFY(text.contains(QStringLiteral("sort 0x044E0012,0x044D001F records 2")));
        QVERIFY(text.contains(
            QStringLiteral("0x03E90040 FILETIME 2000-01-01 00:00:00.000 (125911584000000000)")));
        QVERIFY(text.contains(QStringLiteral("0x03EA001F LPWSTR \"Acme \\\"East\\\"\"")));
        QVERIFY(text.contains(QStringLiteral("0x044D001F LPWSTR \"EUR\"")));
        store.reset();
        QCOMPARE(fileHash(), before);
    }

    void recordsAreShownDecoded() {
        test::TestEnvironment env;
        RecordStore& store = env.store();
        QVERIFY(store.openAll());
        ClientStructureStore& s = store.clientStructure();
        Client acme{0, QStringLiteral("Acme \"Inc\""), 0};
        QVERIFY(addClient(s.clients, acme));
        QVERIFY(addProjectTask(s.projects, acme.clientId, QStringLiteral("Web"),
                               QStringLiteral("Design")));
        QVERIFY(addContact(s.contacts, acme.clientId, QStringLiteral("Jane")));
        Rate rate;
        rate.description = QStringLiteral("Standard");
        rate.rate = 6000;
        QCOMPARE(Rates(s.rates).add(rate), WriteResult::Written);
        TimeEntry entry;
        entry.client = acme.name;
        entry.status = EntryStatus::Billed;
        entry.date = at(2026, 12, 7, 9, 0, 1);
        entry.duration = 133;
        entry.breakTime = 17;
        QVERIFY(TimeEntries(store).add(entry) == WriteResult::Written);
        ExpenseEntry expense;
        expense.type = ExpenseType::Mileage;
        expense.distance = 120;
        QVERIFY(Expenses(store).add(expense) == WriteResult::Written);

        QString text;
        QTextStream out(&text);
        dumpStore(*store.objectStore(), out);
        out.flush();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const char* expected : {"    0x03EA001F LPWSTR \"Acme \\\"Inc\\\"\"",
                                     "    = TimeEntry",
                                     "      status: 2 (Billed)",
                                     "      client: \"Acme \\\"Inc\\\"\"",
                                     "      date: 2026-12-07 09:00:01 (start time)",
                                     "      duration: 1.33",
                                     "      end time: 2026-12-07 10:30:01",
                                     "      paid date: none",
                                     "    = Client",
                                     "      client id: 1",
                                     "    = Project",
                                     "      project: \"Web\"",
                                     "      task: \"Design\"",
                                     "    = Contact",
                                     "      name: \"Jane\"",
                                     "    = Rate",
                                     "      rate: 60.00",
                                     "    = ExpenseEntry",
                                     "      type: 1 (Mileage Expense)",
                                     "      distance: 120"}) {
            QVERIFY2(lines.contains(QLatin1String(expected)), expected);
        }
    }
    // The dump is compared whole with the one the program wrote before its
    // date texts stopped going through the system's time zone.
    void dumpOfTheSampleStoreMatchesItsGoldenFile() {
        test::TestEnvironment env;
        QVERIFY(env.store().openAll());
        QVERIFY(test::fillSampleStore(env.store(), 48));
        QString text;
        QTextStream out(&text);
        dumpStore(*env.store().objectStore(), out);
        out.flush();
        const QByteArray produced = text.toUtf8();
        QFile golden(test::testDataPath(QStringLiteral("store/sample-dump.txt")));
        if (test::regeneratingGoldenFiles()) {
            QVERIFY(golden.open(QIODevice::WriteOnly));
            golden.write(produced);
            return;
        }
        QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(golden.fileName()));
        const QList<QByteArray> expected = golden.readAll().split('\n');
        const QList<QByteArray> lines = produced.split('\n');
        for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
            QCOMPARE(lines[i], expected[i]);
        QCOMPARE(lines.size(), expected.size());
    }
};

TEMPOLATCH_TEST(StoreDumpTest);
#include "StoreDumpTest.moc"
