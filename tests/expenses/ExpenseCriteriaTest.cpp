#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseActions.h"
#include "expenses/ExpenseFilterSheet.h"
#include "expenses/ExpenseSamples.h"
#include "records/ExpenseCriteria.h"
#include "records/ExpenseFilter.h"
#include "settings/Context.h"

Q_DECLARE_METATYPE(tempolatch::platform::FileTime)

using namespace tempolatch;
using test::at;

namespace {

QList<quint32> chosenIds(RecordStore& store, const ExpenseFilter& criteria) {
    QList<quint32> ids;
    forEachChosenExpense(store, criteria.chosen(), [&](const ExpenseEntry& e) {
        ids.append(e.recordId);
        return true;
    });
    return ids;
}

}  // namespace

class ExpenseCriteriaTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
    }

    // The range runs from 00:00:00 of the first day to 23:59:59 of the last,
    // whatever times of day the period carries.
    void rangeEdges_data() {
        QTest::addColumn<platform::FileTime>("date");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("a second before the start") << at(2026, 11, 30, 23, 59, 59) << false;
        QTest::newRow("exactly the start") << at(2026, 12, 1) << true;
        QTest::newRow("the end day's last second") << at(2026, 12, 7, 23, 59, 59) << true;
        QTest::newRow("just past the end") << at(2026, 12, 8) << false;
    }
    void rangeEdges() {
        QFETCH(platform::FileTime, date);
        QFETCH(bool, chosen);
        ExpenseEntry e = test::generalExpense(100);
        e.date = date;
        QVERIFY(test::storeExpense(e));
        const ExpenseFilter criteria =
            ExpenseFilter::preset(CriteriaMode::Any, test::localTime(2026, 12, 1, 14, 30),
                                  test::localTime(2026, 12, 7, 9));
        QCOMPARE(chosenIds(m_env->store(), criteria),
                 chosen ? QList<quint32>{e.recordId} : QList<quint32>{});
    }

    // Marking presets its statuses; a preset type is kept by the walk.
    void presetStatusesAndType() {
        ExpenseEntry billable = test::mileageExpense(35, 120);
        ExpenseEntry billed = test::mileageExpense(35, 10);
        billed.status = EntryStatus::Billed;
        ExpenseEntry paid = test::mileageExpense(35, 10);
        paid.status = EntryStatus::Paid;
        ExpenseEntry general = test::generalExpense(100);
        for (ExpenseEntry* e : {&billable, &billed, &paid, &general})
            QVERIFY(test::storeExpense(*e));
        const auto day = test::day(2026, 12, 7);
        QCOMPARE(
            chosenIds(m_env->store(), ExpenseFilter::preset(CriteriaMode::MarkBilled, day, day)),
            (QList<quint32>{billable.recordId, general.recordId}));
        QCOMPARE(chosenIds(m_env->store(), ExpenseFilter::preset(CriteriaMode::MarkPaid, day, day,
                                                                 qint32(ExpenseType::Mileage))),
                 (QList<quint32>{billable.recordId, billed.recordId}));
    }

    // The sheet opens on the period, with the mode's statuses fixed and a
    // preset type fixed; OK gives the days chosen and the lists' choices.
    void sheet_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<bool>>("checked");  // Unpaid, Billed, Paid, Non Billable
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("export mileage")
            << int(CriteriaMode::Any) << 1 << QList<bool>{true, true, true, true}
            << QList<bool>{true, true, true, true};
        QTest::newRow("mark paid")
            << int(CriteriaMode::MarkPaid) << -1 << QList<bool>{true, true, false, false}
            << QList<bool>{true, true, false, false};
        QTest::newRow("mark billed")
            << int(CriteriaMode::MarkBilled) << -1 << QList<bool>{true, false, false, false}
            << QList<bool>{false, false, false, false};
    }
    void sheet() {
        QFETCH(int, mode);
        QFETCH(int, type);
        QFETCH(QList<bool>, checked);
        QFETCH(QList<bool>, enabled);
        ExpenseEntry acme = test::generalExpense(100);
        QCOMPARE(ExpenseSaver(m_env->store()).save(acme), WriteResult::Written);  // and its client
        ExpenseFilter criteria;
        test::onNextModal([&](QDialog* sheet) {
            QCOMPARE(sheet->objectName(), QStringLiteral("expenseCriteriaSheet"));
            auto* start = sheet->findChild<QDateEdit*>(QStringLiteral("start"));
            auto* end = sheet->findChild<QDateEdit*>(QStringLiteral("end"));
            QCOMPARE(start->date(), QDate(2026, 12, 1));
            QCOMPARE(end->date(), QDate(2026, 12, 31));
            const char* boxes[] = {"unpaid", "billed", "paid", "nonBillable"};
            for (int i = 0; i < 4; ++i) {
                auto* box = sheet->findChild<QCheckBox*>(QString::fromLatin1(boxes[i]));
                QCOMPARE(box->isChecked(), checked[i]);
                QCOMPARE(box->isEnabled(), enabled[i]);
                box->setChecked(true);  // a fixed status is the mode's whatever the box says
            }
            auto* typeList = sheet->findChild<QComboBox*>(QStringLiteral("type"));
            QCOMPARE(typeList->currentIndex(), type + 1);
            QCOMPARE(typeList->isEnabled(), type < 0);
            QMetaObject::invokeMethod(sheet, "clear");
            QCOMPARE(typeList->currentIndex(), type + 1);
            QCOMPARE(start->date(), QDate(2026, 12, 1));
            end->setDate(QDate(2026, 12, 10));
            auto* client = sheet->findChild<QComboBox*>(QStringLiteral("client"));
            client->setCurrentIndex(client->findText(QStringLiteral("Acme")));
            sheet->accept();
        });
        QVERIFY(runExpenseCriteria(m_env->context(), nullptr, CriteriaMode(mode),
                                   test::day(2026, 12, 1), test::day(2026, 12, 31), type,
                                   criteria));
        ExpenseFilter expected =
            ExpenseFilter::preset(CriteriaMode(mode), test::day(2026, 12, 1),
                                  test::localTime(2026, 12, 10, 23, 59, 59), type);
        expected.client = QStringLiteral("Acme");
        QCOMPARE(criteria, expected);

        // Cancel leaves the criteria as they were.
        test::onNextModal([](QDialog* sheet) { sheet->reject(); });
        QVERIFY(!runExpenseCriteria(m_env->context(), nullptr, CriteriaMode(mode),
                                    test::day(2026, 1, 1), test::day(2026, 1, 2), type, criteria));
        QCOMPARE(criteria, expected);
    }
};

TEMPOLATCH_TEST(ExpenseCriteriaTest);
#include "ExpenseCriteriaTest.moc"
