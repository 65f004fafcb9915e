#include "common/TestEnvironment.h"
#include "common/TestRegistry.h"
#include "store/Client.h"
#include "store/ClientNames.h"
#include "store/ExpenseEntry.h"
#include "store/Project.h"
#include "store/Rate.h"
#include "store/RecordStore.h"
#include "store/StoreDump.h"
#include "store/StoreTestSupport.h"
#include "store/TimeEntry.h"

using namespace tempolatch;
using test::at;

class StoreDumpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordsAreShownDecoded() {
        test::TestEnvironment env;
        RecordStore& store = RecordStore::instance();
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
        QVERIFY(addRate(s.rates, rate));
        TimeEntry entry;
        entry.client = acme.name;
        entry.status = EntryStatus::Billed;
        entry.date = at(2026, 12, 7, 9, 0, 1);
        entry.duration = 133;
        entry.breakTime = 17;
        QVERIFY(addEntry(store.entries(), entry));
        ExpenseEntry expense;
        expense.type = ExpenseType::Mileage;
        expense.distance = 120;
        QVERIFY(addExpense(store.expenses(), expense));

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
};

TEMPOLATCH_TEST(StoreDumpTest);
#include "StoreDumpTest.moc"
