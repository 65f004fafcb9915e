#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestRegistry.h"
#include "records/ExpenseCriteria.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/SavedReports.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"

using namespace tempolatch;

// report mileage|general of the program itself: the bytes the window's
// writer gives for the same layout and expenses.
class ExpenseReportCommandLineTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stderr;

    int run(const QStringList& args) {
        const test::ProgramRun run =
            test::runProgram(m_env->folder(), args, {.display = false, .usLocale = true});
        m_stderr = run.errors;
        return run.exitCode;
    }

    // What the writer gives in this process for the layout and choice.
    QByteArray written(const ReportLayout& layout, const ExpenseCriteria& choice) {
        const QString path = m_env->filePath(QStringLiteral("window.html"));
        if (!writeExpenseReportFile(m_env->store(), m_env->settings(), layout, choice, path))
            return {};
        return test::fileBytes(path);
    }

    // The saved layout of `type` named `name`, without the report date
    // (today's in the program, the tests' fixed day here) and every field
    // shown.
    ReportLayout saveLayout(const QString& name, int type) {
        ReportLayout layout = ReportLayout::builtInDefault(type);
        layout.setShows(ReportLayout::ReportDate, false);
        layout.setFieldMask((1u << ReportLayout::ExpenseFields) - 1);
        SavedReports(m_env->store()).write(name, layout, 0);
        return layout;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillExpenseSample(m_env->store()));
    }

    void sameBytesAsTheWindow_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("fromDay");  // of March; 0: every date, -1: to February 28
        QTest::addColumn<int>("toDay");
        QTest::addColumn<int>("status");   // -1: any
        QTest::addColumn<int>("receipt");  // -1: any
        QTest::newRow("mileage, March")
            << int(ReportLayout::MileageExpense)
            << QStringList{QStringLiteral("--from"), QStringLiteral("2026-03-01"),
                           QStringLiteral("--to"), QStringLiteral("2026-03-31")}
            << 1 << 31 << -1 << -1;
        QTest::newRow("mileage, one day")
            << int(ReportLayout::MileageExpense)
            << QStringList{QStringLiteral("--from"), QStringLiteral("2026-03-05"),
                           QStringLiteral("--to"), QStringLiteral("2026-03-05")}
            << 5 << 5 << -1 << -1;
        QTest::newRow("general, billable ones")
            << int(ReportLayout::GeneralExpense)
            << QStringList{QStringLiteral("--from"),   QStringLiteral("2026-03-01"),
                           QStringLiteral("--to"),     QStringLiteral("2026-03-31"),
                           QStringLiteral("--status"), QStringLiteral("billable")}
            << 1 << 31 << int(EntryStatus::Billable) << -1;
        QTest::newRow("general, with a receipt")
            << int(ReportLayout::GeneralExpense)
            << QStringList{QStringLiteral("--receipt"), QStringLiteral("yes")} << 0 << 0 << -1 << 1;
        QTest::newRow("general, none in the range")
            << int(ReportLayout::GeneralExpense)
            << QStringList{QStringLiteral("--to"), QStringLiteral("2026-02-28")} << -1 << -1 << -1
            << -1;
    }
    void sameBytesAsTheWindow() {
        QFETCH(int, type);
        QFETCH(QStringList, options);
        QFETCH(int, fromDay);
        QFETCH(int, toDay);
        QFETCH(int, status);
        QFETCH(int, receipt);
        const ReportLayout layout = saveLayout(QStringLiteral("All fields"), type);
        ExpenseCriteria choice;
        if (fromDay > 0) {
            choice.from = test::at(2026, 3, fromDay);
            choice.to = test::at(2026, 3, toDay, 23, 59, 59);
        } else if (fromDay < 0) {
            choice.to = test::at(2026, 2, 28, 23, 59, 59);
        }
        choice.matches = [status, receipt](const ExpenseEntry& e) {
            return (status < 0 || int(e.status) == status) &&
                   (receipt < 0 || e.receipt == (receipt == 1));
        };
        const QByteArray expected = written(layout, choice);
        QVERIFY(!expected.isEmpty());
        m_env->store().close();

        const QString out = m_env->filePath(QStringLiteral("out.html"));
        const QString kind = type == ReportLayout::MileageExpense ? QStringLiteral("mileage")
                                                                  : QStringLiteral("general");
        QCOMPARE(run(QStringList{QStringLiteral("report"), kind, out, QStringLiteral("--layout"),
                                 QStringLiteral("All fields")} +
                     options),
                 0);
        const QByteArray actual = test::fileBytes(out);
        QCOMPARE(QString::fromUtf8(actual), QString::fromUtf8(expected));
        QCOMPARE(test::xmllintErrors(out, true), QByteArray());
    }

    // The kind's default layout as PDF; criteria that name nothing of an
    // expense are refused as a usage error, an unknown layout fails.
    void pdfAndRefusals() {
        m_env->store().close();
        const QString pdf = m_env->filePath(QStringLiteral("general.pdf"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("general"), pdf,
                      QStringLiteral("--category"), QStringLiteral("Meals")}),
                 0);
        const QString text =
            QString::fromUtf8(test::runTool(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                                  .out);
        QVERIFY2(text.contains(QStringLiteral("General Expense Report")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Lunch, team")));
        QVERIFY(!text.contains(QStringLiteral("Lodging")));  // another category
        QVERIFY(text.contains(QStringLiteral("42.50")));

        const QString html = m_env->filePath(QStringLiteral("r.html"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("mileage"), html,
                      QStringLiteral("--task"), QStringLiteral("Drive")}),
                 2);
        QVERIFY(m_stderr.contains("task"));
        QVERIFY(!QFile::exists(html));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("mileage"), html,
                      QStringLiteral("--layout"), QStringLiteral("Nope")}),
                 1);
        QVERIFY(!QFile::exists(html));
        // A saved layout of the other family has no writer here: said, no file.
        QVERIFY(m_env->store().openAll());
        SavedReports(m_env->store())
            .write(QStringLiteral("Weekly"), ReportLayout::builtInDefault(ReportLayout::Tabular),
                   0);
        saveLayout(QStringLiteral("Trips"), ReportLayout::MileageExpense);
        m_env->store().close();
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("general"), html,
                      QStringLiteral("--layout"), QStringLiteral("Weekly")}),
                 1);
        QVERIFY(m_stderr.contains("is not an expense report"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("tabular"), html,
                      QStringLiteral("--layout"), QStringLiteral("Trips")}),
                 1);
        QVERIFY(m_stderr.contains("is not a time report"));
        QVERIFY(!QFile::exists(html));
        // A mileage layout named in the general command writes the mileage
        // report: the layout's own type decides.
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("general"), html,
                      QStringLiteral("--layout"), QStringLiteral("Trips")}),
                 0);
        QVERIFY(test::fileBytes(html).contains("<h1>Mileage Expense Report</h1>"));
        QVERIFY(test::fileBytes(html).contains(">155.00<"));  // every mileage expense
    }
};

TEMPOLATCH_TEST(ExpenseReportCommandLineTest);
#include "ExpenseReportCommandLineTest.moc"
