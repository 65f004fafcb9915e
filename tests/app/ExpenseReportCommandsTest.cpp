#include <QTest>

#include "app/ExpenseReportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseFilter.h"
#include "expenses/ExpenseSamples.h"
#include "expenses/ExpenseWindow.h"
#include "platform/StringTable.h"
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

    static void acceptLayoutDialog() {
        test::onNextModalOf<ReportLayoutDialog>(
            [](ReportLayoutDialog* dialog) { dialog->accept(); });
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(test::prepareExpenseTest());
        m_opened.clear();
    }
    void cleanup() {
        ExpenseFilter::view().reset();
        EnvironmentTest::cleanup();
    }

    // The report takes the expenses of the window's month that pass its
    // filter, of the report's type; the finished file is shown. A file
    // that cannot be written says message 157.
    void reportOfTheShownPeriod() {
        m_env->settings().expView = PeriodView::Month;
        ExpenseEntry trip = test::mileageExpense(35, 120);
        test::storeExpense(trip);
        ExpenseEntry other = test::mileageExpense(35, 7);
        other.client = QStringLiteral("Beta");
        test::storeExpense(other);
        ExpenseEntry november = test::mileageExpense(35, 9);
        november.date = test::at(2026, 11, 30);
        test::storeExpense(november);
        ExpenseEntry lunch = test::generalExpense(1999);
        test::storeExpense(lunch);
        ExpenseFilter::view().client = QStringLiteral("Acme");

        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseReportCommands(window, m_env->context(),
                                 [this](const QString& path) { m_opened.append(path); });
        const QString path = m_env->filePath(QStringLiteral("miles"));
        acceptLayoutDialog();
        m_env->ui().queueFile(path);
        QVERIFY(window.onCommand(cmd::ReportMileage));
        QCOMPARE(m_opened, QStringList{path + QStringLiteral(".html")});
        const QByteArray page = test::fileBytes(m_opened.first());
        QVERIFY(page.contains("<h1>Mileage Expense Report</h1>"));
        QVERIFY(page.contains(">42.00<"));
        QVERIFY(page.contains(">120.00<"));  // the distance total: only the Acme trip
        QVERIFY(!page.contains("19.99"));
        QCOMPARE(m_env->ui().fileFilters(),
                 QStringList{resourceString(158) + QStringLiteral("PDF Files (*.pdf)|*.pdf|")});

        acceptLayoutDialog();
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("no/such/folder/r.html")));
        QVERIFY(window.onCommand(cmd::ReportGeneral));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(157)});
        QCOMPARE(m_opened.size(), 1);
    }
};

TEMPOLATCH_TEST(ExpenseReportCommandsTest);
#include "ExpenseReportCommandsTest.moc"
