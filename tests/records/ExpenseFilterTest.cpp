#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseSamples.h"
#include "platform/Registry.h"
#include "records/ExpenseFilter.h"

using namespace tempolatch;

namespace {

const QString kKey = QStringLiteral("Software\\Tempolatch");

}  // namespace

class ExpenseFilterTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // The expense window's search: description, client, project and note.
    void search_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("found");
        QTest::newRow("description and client") << "TAXI acme" << true;
        QTest::newRow("project") << "launch" << true;
        QTest::newRow("note") << "airport" << true;
        QTest::newRow("category is no search text") << "travel" << false;
        QTest::newRow("one word missing") << "taxi hotel" << false;
    }
    void search() {
        QFETCH(QString, words);
        QFETCH(bool, found);
        ExpenseEntry expense = test::generalExpense(1250);
        expense.description = QStringLiteral("Taxi");
        expense.client = QStringLiteral("Acme");
        expense.project = QStringLiteral("Launch");
        expense.category = QStringLiteral("Travel");
        expense.note = QStringLiteral("To the airport");
        ExpenseFilter filter;
        filter.search = SearchWords(words);
        QCOMPARE(filter.matches(expense), found);
        QCOMPARE(filter.chosen().matches(expense), found);
    }

    void matches_data() {
        QTest::addColumn<int>("receipt");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("paidFlag");
        QTest::addColumn<QList<bool>>(
            "passes");  // general with receipt, mileage without, paid general
        QTest::newRow("everything")
            << 2 << -1 << QString() << true << QList<bool>{true, true, true};
        QTest::newRow("receipt 1")
            << 1 << -1 << QString() << true << QList<bool>{true, false, false};
        QTest::newRow("receipt 0")
            << 0 << -1 << QString() << true << QList<bool>{false, true, true};
        QTest::newRow("mileage only")
            << 2 << 1 << QString() << true << QList<bool>{false, true, false};
        QTest::newRow("general only")
            << 2 << 0 << QString() << true << QList<bool>{true, false, true};
        QTest::newRow("client exact")
            << 2 << -1 << "Acme" << true << QList<bool>{true, true, false};
        QTest::newRow("client in capitals")
            << 2 << -1 << "ACME" << true << QList<bool>{false, false, false};
        QTest::newRow("no paid") << 2 << -1 << QString() << false << QList<bool>{true, true, false};
    }

    void matches() {
        QFETCH(int, receipt);
        QFETCH(int, type);
        QFETCH(QString, client);
        QFETCH(bool, paidFlag);
        QFETCH(QList<bool>, passes);
        ExpenseEntry withReceipt = test::generalExpense(1250);
        withReceipt.receipt = true;
        const ExpenseEntry mileage = test::mileageExpense(35, 120);
        ExpenseEntry paid = test::generalExpense(900);
        paid.client = QStringLiteral("Other");
        paid.status = EntryStatus::Paid;
        ExpenseFilter filter;
        filter.receipt = receipt;
        filter.type = type;
        filter.client = client;
        filter.paid = paidFlag;
        QCOMPARE(filter.matches(withReceipt), passes[0]);
        QCOMPARE(filter.matches(mileage), passes[1]);
        QCOMPARE(filter.matches(paid), passes[2]);
    }

    void unpaidOnlyResetsTheRest() {
        ExpenseFilter filter;
        filter.category = QStringLiteral("Meals");
        filter.receipt = ExpenseFilter::WithReceipt;
        filter.showUnpaidOnly();
        QCOMPARE(filter.flags(), 0x21u);
        QVERIFY(filter.category.isEmpty());
        QCOMPARE(filter.receipt, int(ExpenseFilter::AnyReceipt));
        ExpenseEntry e = test::generalExpense(100);
        for (const auto& [status, shown] :
             {std::pair{EntryStatus::NonBillable, false}, std::pair{EntryStatus::Billable, true},
              std::pair{EntryStatus::Billed, true}, std::pair{EntryStatus::Paid, false}}) {
            e.status = status;
            QCOMPARE(filter.matches(e), shown);
        }
    }

    // Stored values: texts only when set, the custom criteria never, and a
    // later store removes what an earlier one wrote.
    void storedValues() {
        platform::Registry& reg = m_env->registry();
        reg.createKey(kKey);
        reg.writeString(kKey, QStringLiteral("fExpCustom1"), QStringLiteral("old"), 8);
        ExpenseFilter filter;
        filter.client = QStringLiteral("Acme");
        filter.category = QStringLiteral("Meals");
        filter.custom2 = QStringLiteral("c2");
        filter.receipt = ExpenseFilter::WithReceipt;
        filter.type = int(ExpenseType::Mileage);
        filter.nonBillable = false;
        filter.store(reg);
        QCOMPARE(reg.readString(kKey, QStringLiteral("fExpClient"), 256), QStringLiteral("Acme"));
        QCOMPARE(reg.readRaw(kKey, QStringLiteral("fExpClient"))->second.size(), (4 + 1) * 2);
        QCOMPARE(reg.readString(kKey, QStringLiteral("fExpCategory"), 256),
                 QStringLiteral("Meals"));
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fExpProject")));
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fExpCustom1")));
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fExpCustom2")));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpFlags")), std::optional<quint32>(0x25));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpType")), std::optional<quint32>(1));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpReceipt")), std::optional<quint32>(1));

        ExpenseFilter().store(reg);
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fExpClient")));
        QVERIFY(!reg.readRaw(kKey, QStringLiteral("fExpCategory")));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpFlags")), std::optional<quint32>(0x35));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpType")),
                 std::optional<quint32>(0xFFFFFFFF));
        QCOMPARE(reg.readNumber(kKey, QStringLiteral("fExpReceipt")), std::optional<quint32>(2));
    }

    void sortKeys() {
        ExpenseEntry e = test::generalExpense(100);
        e.billTo = QStringLiteral("Jane");
        e.custom1 = QStringLiteral("one");
        e.custom2 = QStringLiteral("two");
        const QStringList keys = {QString(), e.client, e.project, e.category,
                                  QString(), e.billTo, e.custom1, e.custom2};
        for (int index = 0; index < keys.size(); ++index)
            QCOMPARE(ExpenseFilter::sortKey(e, index), keys[index]);
        QCOMPARE(ExpenseFilter::sortKey(e, 8), QString());
    }
};

TEMPOLATCH_TEST(ExpenseFilterTest);
#include "ExpenseFilterTest.moc"
