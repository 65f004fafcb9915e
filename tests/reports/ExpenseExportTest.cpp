#include <QComboBox>
#include <QFile>

#include "app/ExpenseExportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "expenses/ExpenseWindow.h"
#include "platform/StringTable.h"
#include "records/ExpenseFilter.h"
#include "reports/ExpenseExportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/SummaryDialog.h"
#include "settings/Settings.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using test::at;

// The expense window's commands that live with the exports and summaries.
class ExpenseExportTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_env->settings().expenseCustom1 = QStringLiteral("Trip");
        m_env->settings().expenseCustom2 = QStringLiteral("Vehicle");
        test::storeExportSamples(m_env->store());
    }

    // The criteria sheet comes preset to the period and the command's type;
    // the file goes where the save dialog says, with ".csv" added.
    void exportsFromTheWindow_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QStringList>("descriptions");
        QTest::newRow("mileage") << cmd::ExportMileageCsv << "expense-window-mileage.csv"
                                 << QStringList{"Site visit"};
        QTest::newRow("general") << cmd::ExportGeneralCsv << "expense-window-general.csv"
                                 << QStringList{"Taxi", "Lunch, team"};
    }
    void exportsFromTheWindow() {
        QFETCH(int, command);
        QFETCH(QString, golden);
        QFETCH(QStringList, descriptions);
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseExportCommands(window, m_env->context());
        QVERIFY(window.commands().has(command));
        const QString chosen = m_env->filePath(QStringLiteral("expenses"));
        m_env->ui().queueFile(chosen);
        const int type = command == cmd::ExportMileageCsv ? 1 : 0;
        test::exportFromWindow(window, command, [type](QDialog* sheet) {
            auto* typeList = sheet->findChild<QComboBox*>(QStringLiteral("type"));
            QCOMPARE(typeList->currentIndex(), type + 1);
            QVERIFY(!typeList->isEnabled());
        });
        QVERIFY(m_env->ui().shownTexts().isEmpty());
        const QString path = chosen + QStringLiteral(".csv");
        test::compareWithGolden(test::fileBytes(path), QStringLiteral("reports/") + golden);

        const QList<QStringList> rows = test::readCsvWithPython(path);
        QCOMPARE(rows.size(), descriptions.size() + 1);
        QCOMPARE(rows[0].mid(rows[0].size() - 3), (QStringList{"Trip", "Vehicle", "Note"}));
        for (int i = 0; i < descriptions.size(); ++i)
            QCOMPARE(rows[i + 1][2], descriptions[i]);
        if (type == 1) {
            QCOMPARE(rows[1][7], QStringLiteral("0.35"));
            QCOMPARE(rows[1][10], QStringLiteral("42.00"));
            QCOMPARE(rows[1].last(), QStringLiteral("there\r\nand \"back\""));
        }
    }

    // A file that cannot be written says so (message 76) and leaves nothing.
    void failedExportShowsMessage76() {
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseExportCommands(window, m_env->context());
        const QString path = m_env->filePath(QStringLiteral("no/such/folder/out.csv"));
        m_env->ui().queueFile(path);
        test::exportFromWindow(window, cmd::ExportGeneralCsv);
        QCOMPARE(m_env->ui().shownTexts(), QStringList{resourceString(str::ExportFailed)});
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Stop);
        QVERIFY(!QFile::exists(path));
    }

    // Quick Summary covers the expenses the list shows: the three of
    // December, the mileage one at 0.35 x 120.
    void quickSummaryOfTheListedExpenses() {
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseExportCommands(window, m_env->context());
        SummaryRows rows;
        test::onNextModalOf<SummaryDialog>([&rows](SummaryDialog* dialog) {
            rows = dialog->rows();
            dialog->accept();
        });
        window.onCommand(cmd::QuickSummary);
        QCOMPARE(rows.mid(0, 3), (SummaryRows{{"Period Type:", "Month", ""},
                                              {"Period:", "December 2026", ""},
                                              {"Number of Items:", "3", ""}}));
        // The non-billable taxi counts per client but not in the totals;
        // the dollars and the euros each stand apart.
        QVERIFY(rows.contains(QStringList{"Mileage:", "USD 42.00", ""}));
        QVERIFY(rows.contains(QStringList{"General:", "EUR 42.50", ""}));
        QVERIFY(rows.contains(QStringList{"Beta, \"B\"", "EUR 60.50", "100.0%"}));
    }
};

TEMPOLATCH_TEST(ExpenseExportTest);
#include "ExpenseExportTest.moc"
