#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseRows.h"
#include "expenses/ExpenseSamples.h"
#include "views/EntryRowModel.h"

using namespace tempolatch;

namespace {

const RowContext kDefaultWeek{EntryList::Default, false};
const RowContext kDefaultDay{EntryList::Default, true};
const RowContext kSimple{EntryList::Simple, false};

}  // namespace

class ExpenseRowsTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    // 0.35 per unit over 120 units is 42.00 in both lists.
    void mileageAmount() {
        ExpenseEntry e = test::mileageExpense(35, 120);
        QCOMPARE(ExpenseRows::build(e, kDefaultWeek).line1Right, QStringLiteral("42.00"));
        const QStringList cells = ExpenseRows::build(e, kSimple).cells;
        QCOMPARE(cells[ExpenseRows::RateColumn], QStringLiteral("0.35"));
        QCOMPARE(cells[ExpenseRows::AmountColumn], QStringLiteral("42.00"));
        QCOMPARE(cells[ExpenseRows::StartOdometerColumn], QStringLiteral("1000"));
        QCOMPARE(cells[ExpenseRows::EndOdometerColumn], QStringLiteral("1120"));
        QCOMPARE(cells[ExpenseRows::DistanceColumn], QStringLiteral("120"));
        // A mileage expense shows no category, even one it carries.
        QCOMPARE(cells[ExpenseRows::CategoryColumn], QString());
        QCOMPARE(cells[ExpenseRows::ReceiptColumn], QStringLiteral("N"));
    }

    void simpleCells_data() {
        QTest::addColumn<bool>("mileage");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<QStringList>("cells");
        // Date, Description, Client, Project, Category, Start, End, Distance,
        // Currency, Rate, Amount, Receipt, Bill To, Custom 1, Custom 2
        QTest::newRow("general billable")
            << false << 1 << true
            << QStringList{"12/7/26", "Lunch", "Acme",     "",  "Meals", "",   "",  "",
                           "USD",     "",      "1,234.50", "Y", "Jane",  "c1", "c2"};
        QTest::newRow("general non billable")
            << false << 0 << false
            << QStringList{"12/7/26", "Lunch", "Acme", "",  "Meals", "",   "",  "",
                           "",        "",      "",     "N", "",      "c1", "c2"};
        QTest::newRow("mileage non billable")
            << true << 0 << true
            << QStringList{"12/7/26", "Site visit", "Acme", "Website", "", "1000", "1025", "25",
                           "",        "",           "",     "Y",       "", "c1",   "c2"};
        QTest::newRow("mileage paid")
            << true << 3 << false
            << QStringList{"12/7/26",   "Site visit", "Acme", "Website", "",
                           "1000",      "1025",       "25",   "USD",     "1,234.50",
                           "30,862.50", "N",          "Jane", "c1",      "c2"};
    }

    void simpleCells() {
        QFETCH(bool, mileage);
        QFETCH(int, status);
        QFETCH(bool, receipt);
        QFETCH(QStringList, cells);
        ExpenseEntry e = mileage ? test::mileageExpense(123450, 25) : test::generalExpense(123450);
        e.status = EntryStatus(status);
        e.receipt = receipt;
        e.billTo = QStringLiteral("Jane");
        e.custom1 = QStringLiteral("c1");
        e.custom2 = QStringLiteral("c2");
        QCOMPARE(ExpenseRows::build(e, kSimple).cells, cells);
    }

    // The Day layout leaves the date out of line 1 and puts the distance or
    // the category there instead.
    void defaultLines_data() {
        QTest::addColumn<bool>("mileage");
        QTest::addColumn<bool>("day");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("mileage, week")
            << true << false << QStringList{"12/7/26 ", "Site visit (120)", "Acme (Website)"};
        QTest::newRow("mileage, day")
            << true << true << QStringList{"120", "Site visit", "Acme (Website)"};
        QTest::newRow("general, week")
            << false << false << QStringList{"12/7/26 ", "Lunch (Meals)", "Acme"};
        QTest::newRow("general, day") << false << true << QStringList{"Meals", "Lunch", "Acme"};
    }

    void defaultLines() {
        QFETCH(bool, mileage);
        QFETCH(bool, day);
        QFETCH(QStringList, lines);
        const ExpenseEntry e = mileage ? test::mileageExpense(35, 120) : test::generalExpense(1250);
        const EntryRow row = ExpenseRows::build(e, day ? kDefaultDay : kDefaultWeek);
        QCOMPARE(row.lines, lines);
        QCOMPARE(row.kindIcon,
                 mileage ? QStringLiteral("expense-mileage") : QStringLiteral("expense-general"));
        QCOMPARE(row.line1Right, mileage ? QStringLiteral("42.00") : QStringLiteral("12.50"));
    }

    void generalWithoutCategory() {
        const ExpenseEntry e = test::generalExpense(100, QString());
        QCOMPARE(ExpenseRows::build(e, kDefaultWeek).lines.value(1), QStringLiteral("Lunch"));
    }

    // Arrange By Bill To (5) and Custom 2 (7); equal keys fall back to the
    // date, then to the modification time.
    void arrangeBy_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<quint32>>("order");
        QTest::newRow("default order") << 0 << QList<quint32>{4, 3, 1, 2};
        QTest::newRow("bill to") << 5 << QList<quint32>{3, 1, 2, 4};
        QTest::newRow("custom 2") << 7 << QList<quint32>{4, 2, 3, 1};
    }

    void arrangeBy() {
        QFETCH(int, index);
        QFETCH(QList<quint32>, order);
        struct Sample {
            quint32 id;
            QString billTo;
            QString custom2;
            int day;
            int modifiedHour;
        };
        const Sample samples[] = {{1, "Bob", "zulu", 8, 9},
                                  {2, "Bob", "alpha", 8, 10},
                                  {3, "Ann", "mike", 8, 8},
                                  {4, "Cy", "alpha", 3, 11}};
        EntryRowModel model;
        for (const Sample& s : samples) {
            ExpenseEntry e = test::generalExpense(100);
            e.recordId = s.id;
            e.billTo = s.billTo;
            e.custom2 = s.custom2;
            e.date = test::at(2026, 12, s.day);
            e.modified = test::at(2026, 12, 1, s.modifiedHour);
            model.append(ExpenseRows::build(e, kDefaultWeek));
        }
        model.sortRows(index);
        QCOMPARE(model.recordIds(), order);
    }

    void columnLayout() {
        const ColumnLayout& layout = ExpenseRows::columns();
        QCOMPARE(layout.count(), 15);
        QCOMPARE(layout.orderValue, QStringLiteral("ExpColOrder"));
        QCOMPARE(layout.widthValue(14), QStringLiteral("ExpColumn14"));
        QList<int> right;
        for (int c = 0; c < layout.count(); ++c)
            if (layout.columns[c].right)
                right << c;
        QCOMPARE(right, (QList<int>{5, 6, 7, 9, 10}));
    }
};

TEMPOLATCH_TEST(ExpenseRowsTest);
#include "ExpenseRowsTest.moc"
