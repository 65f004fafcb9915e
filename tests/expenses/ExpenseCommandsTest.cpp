#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseSamples.h"
#include "expenses/ExpenseWindow.h"
#include "platform/Clock.h"
#include "platform/ObjectStore.h"
#include "store/StoreTestSupport.h"
#include "views/EntryListWidget.h"
#include "views/PeriodView.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using test::at;

namespace {

QList<ExpenseEntry> storedExpenses() {
    QList<ExpenseEntry> all;
    Expenses(test::TestEnvironment::current().store()).forEach([&](const ExpenseEntry& e) {
        all.append(e);
        return true;
    });
    return all;
}

}  // namespace

// Copy... and the bulk marking of the expense window (shown on the month of
// the fixed clock, December 2026).
class ExpenseCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    QList<quint32> storeAt(const QList<std::pair<platform::FileTime, EntryStatus>>& dated) {
        QList<quint32> ids;
        for (const auto& [date, status] : dated) {
            ExpenseEntry e = test::mileageExpense(35, 120);
            e.date = date;
            e.status = status;
            e.paidDate = status == EntryStatus::Paid ? at(2026, 11, 30) : platform::FileTime{};
            ids.append(test::storeExpense(e));
        }
        return ids;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
    }

    // Copy... with "Rest of the week" on a Monday: Tuesday to Friday, every
    // field but the date as the expense has it; the dialog asks no duration.
    void copyToTheRestOfTheWeek() {
        ExpenseEntry e = test::mileageExpense(35, 120);
        e.date = at(2026, 12, 7);  // a Monday
        e.receipt = true;
        e.billTo = QStringLiteral("Jane Roe");
        e.note = QStringLiteral("there and back");
        QVERIFY(test::storeExpense(e));
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        window.periodView()->reload(1, e.recordId);
        test::onNextModal([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Copy Expense"));
            QVERIFY(!dialog->findChild<QComboBox*>(QStringLiteral("duration")));
            dialog->findChild<QRadioButton*>(QStringLiteral("restOfWeek"))->setChecked(true);
            dialog->accept();
        });
        window.onCommand(cmd::Copy);
        const QList<ExpenseEntry> all = storedExpenses();
        QCOMPARE(all.size(), 5);
        QCOMPARE(window.entryList()->recordIds().size(), 5);
        QCOMPARE(all[0].recordId, e.recordId);
        for (int i = 1; i < all.size(); ++i) {
            ExpenseEntry copy = all[i];
            QCOMPARE(copy.date, at(2026, 12, 7 + i));
            QCOMPARE(copy.modified, platform::Clock::nowFileTime());
            QVERIFY(copy.recordId != e.recordId);
            copy.recordId = e.recordId;
            copy.date = e.date;
            copy.modified = all[0].modified;
            QCOMPARE(copy, all[0]);
        }
        QCOMPARE(all[4].billTo, QStringLiteral("Jane Roe"));
    }

    // Statuses of: Non Billable, Billable, Billed, Paid in the month, a
    // Billable one at the month's first instant and one at the next
    // month's.
    void bulkMarking_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("stamped");  // the chosen ones, written back
        QTest::newRow("billed") << cmd::MarkBilledEntries << "022321"
                                << "010010";
        QTest::newRow("paid") << cmd::MarkPaidEntries << "033331"
                              << "011010";
    }
    void bulkMarking() {
        QFETCH(int, command);
        QFETCH(QString, after);
        QFETCH(QString, stamped);
        const QList<quint32> ids = storeAt({{at(2026, 12, 8), EntryStatus::NonBillable},
                                            {at(2026, 12, 9), EntryStatus::Billable},
                                            {at(2026, 12, 10), EntryStatus::Billed},
                                            {at(2026, 12, 11), EntryStatus::Paid},
                                            {at(2026, 12, 1), EntryStatus::Billable},
                                            {at(2027, 1, 1), EntryStatus::Billable}});
        // What the command writes is stamped later than what was stored.
        platform::Clock::setFixed(test::TestEnvironment::fixedNow().addSecs(3600));
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        const QDate paidDay(2026, 12, 3);
        test::onNextModal([&](QDialog* sheet) {
            QCOMPARE(sheet->objectName(), QStringLiteral("expenseCriteriaSheet"));
            QCOMPARE(sheet->findChild<QDateEdit*>(QStringLiteral("start"))->date(),
                     QDate(2026, 12, 1));
            QCOMPARE(sheet->findChild<QDateEdit*>(QStringLiteral("end"))->date(),
                     QDate(2026, 12, 31));
            if (command == cmd::MarkPaidEntries)
                test::onNextModal([&](QDialog* paidDialog) {
                    paidDialog->findChild<QDateEdit*>(QStringLiteral("paidDate"))->setDate(paidDay);
                    paidDialog->accept();
                });
            sheet->accept();
        });
        window.onCommand(command);
        QString statuses;
        for (int i = 0; i < ids.size(); ++i) {
            const ExpenseEntry e = *Expenses(m_env->store()).find(ids[i]);
            statuses += QString::number(int(e.status));
            QCOMPARE(e.modified == platform::Clock::nowFileTime(), stamped[i] == u'1');
            if (command == cmd::MarkPaidEntries && stamped[i] == u'1')
                QCOMPARE(platform::dateTimeOf(e.paidDate).date(), paidDay);
            else if (e.status == EntryStatus::Paid)
                QCOMPARE(e.paidDate, at(2026, 11, 30));
        }
        QCOMPARE(statuses, after);
        QVERIFY(m_env->ui().shownTexts().isEmpty());
    }

    // A write refused part-way takes back every expense marked before it.
    void bulkMarkingIsAllOrNothing() {
        QList<std::pair<platform::FileTime, EntryStatus>> dated;
        for (int i = 0; i < 30; ++i)
            dated.append({at(2026, 12, 1 + i % 28, i % 24), EntryStatus::Billable});
        const QList<quint32> ids = storeAt(dated);
        const QList<ExpenseEntry> before = storedExpenses();
        QVERIFY(test::refuseRewriteOf(*m_env->store().objectStore(), ids[20]));
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        test::onNextModal([](QDialog* sheet) { sheet->accept(); });
        window.onCommand(cmd::MarkBilledEntries);
        QCOMPARE(m_env->ui().shownTexts().size(), 1);
        QVERIFY(m_env->ui().shownTexts().first().startsWith(QStringLiteral("Error: ")));
        QVERIFY(m_env->ui().shownTexts().first() != QStringLiteral("Error: 0"));
        QCOMPARE(storedExpenses(), before);
    }
};

TEMPOLATCH_TEST(ExpenseCommandsTest);
#include "ExpenseCommandsTest.moc"
