#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QTest>

#include "app/ExpenseReportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseSamples.h"
#include "expenses/ExpenseWindow.h"
#include "platform/StringTable.h"
#include "records/ExpenseFilter.h"
#include "reports/ReportLayoutDialog.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Settings.h"
#include "views/PeriodView.h"

using namespace tempolatch;

// The expense window's Report menu, as the main window equips each new
// expense window.
class ExpenseReportCommandsTest : public test::EnvironmentTest {
    Q_OBJECT

    QStringList m_opened;

    // Accepts the layout dialog, then runs `sheet` on the criteria sheet.
    static void answerDialogs(std::function<void(QDialog*)> sheet) {
        test::onNextModalOf<ReportLayoutDialog>([sheet](ReportLayoutDialog* dialog) {
            test::onNextModal(sheet);
            dialog->accept();
        });
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
        m_opened.clear();
    }

    // The criteria sheet proposes the window's month and the report's type
    // (fixed); the report takes the expenses it chooses, of that type, and
    // the finished file is shown. A file that cannot be written says
    // message 157.
    void reportOfTheShownPeriod() {
        m_env->settings().expView = PeriodView::Month;
        ExpenseEntry trip = test::mileageExpense(35, 120);
        test::storeExpense(trip);
        ExpenseEntry other = test::mileageExpense(35, 7);
        other.client = QStringLiteral("Beta");
        other.status = EntryStatus::Paid;
        test::storeExpense(other);
        ExpenseEntry november = test::mileageExpense(35, 9);
        november.date = test::at(2026, 11, 30);
        test::storeExpense(november);
        ExpenseEntry lunch = test::generalExpense(1999);
        test::storeExpense(lunch);

        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseReportCommands(window, m_env->context(),
                                 [this](const QString& path) { m_opened.append(path); });
        const QString path = m_env->filePath(QStringLiteral("miles"));
        answerDialogs([](QDialog* sheet) {
            QCOMPARE(sheet->objectName(), QStringLiteral("expenseCriteriaSheet"));
            QCOMPARE(sheet->findChild<QDateEdit*>(QStringLiteral("start"))->date(),
                     QDate(2026, 12, 1));
            QCOMPARE(sheet->findChild<QDateEdit*>(QStringLiteral("end"))->date(),
                     QDate(2026, 12, 31));
            auto* type = sheet->findChild<QComboBox*>(QStringLiteral("type"));
            QCOMPARE(type->currentText(), QStringLiteral("Mileage Expense"));
            QVERIFY(!type->isEnabled());
            sheet->findChild<QCheckBox*>(QStringLiteral("paid"))->setChecked(false);
            sheet->accept();
        });
        m_env->ui().queueFile(path);
        QVERIFY(window.onCommand(cmd::ReportMileage));
        QCOMPARE(m_opened, QStringList{path + QStringLiteral(".html")});
        const QByteArray page = test::fileBytes(m_opened.first());
        QVERIFY(page.contains("<h1>Mileage Expense Report</h1>"));
        QVERIFY(page.contains(">42.00<"));
        QVERIFY(page.contains(">120.00<"));  // the distance total: the paid trip left out
        QVERIFY(!page.contains("19.99"));
        QCOMPARE(m_env->ui().fileFilters(),
                 QStringList{resourceString(158) + QStringLiteral("PDF Files (*.pdf)|*.pdf|")});

        answerDialogs([](QDialog* sheet) { sheet->accept(); });
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("no/such/folder/r.html")));
        QVERIFY(window.onCommand(cmd::ReportGeneral));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(157)});
        QCOMPARE(m_opened.size(), 1);

        // A cancelled sheet ends the command: no file is asked for.
        answerDialogs([](QDialog* sheet) { sheet->reject(); });
        QVERIFY(window.onCommand(cmd::ReportMileage));
        QCOMPARE(m_env->ui().fileFilters().size(), 2);
    }
};

TEMPOLATCH_TEST(ExpenseReportCommandsTest);
#include "ExpenseReportCommandsTest.moc"
