
#include "app/ExpenseExportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "records/EntryFilter.h"
#include "records/ExpenseFilter.h"
#include "reports/CsvExport.h"
#include "reports/ExpenseExportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/Summaries.h"
#include "settings/Settings.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "widgets/CommandIds.h"

using namespace tempolatch;
using test::at;

// The export and summary commands of the program itself: they write what
// the windows write for the same choice.
class ExportCommandLineTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray m_stdout;
    QByteArray m_stderr;

    int run(const QStringList& args) {
        const test::ProgramRun run =
            test::runProgram(m_env->folder(), args, {.display = true, .usLocale = true});
        m_stdout = run.out;
        m_stderr = run.errors;
        return run.exitCode;
    }

    QByteArray exported(const EntryFilter& criteria) {
        const QString path = m_env->filePath(QStringLiteral("window.csv"));
        if (!exportTimeEntryCsv(m_env->store().entries(), m_env->settings(), criteria, path))
            return {};
        return test::fileBytes(path);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store().entries());
        const QStringList clients = {QStringLiteral("Acme"), QStringLiteral("Beta, \"B\"")};
        for (int i = 0; i < 12; ++i) {
            TimeEntry e;
            e.client = clients[i % 2];
            e.project = i % 3 ? QStringLiteral("Web") : QStringLiteral("Ops");
            e.task = QStringLiteral("T");
            e.status = EntryStatus(i % 4);
            e.date = at(2026, 3, 1 + i, 9, 0, i % 2);
            e.duration = 50 + 25 * i;
            e.rate = 4000;
            e.modified = at(2026, 3, 1);
            QCOMPARE(entries.add(e), WriteResult::Written);
        }
    }

    void exportWritesWhatTheWindowWrites_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("client");
        QTest::newRow("everything") << QStringList{} << QString() << QString();
        QTest::newRow("from a day, one client")
            << QStringList{QStringLiteral("--from"), QStringLiteral("2026-03-05"),
                           QStringLiteral("--client"), QStringLiteral("Beta, \"B\"")}
            << "2026-03-05"
            << "Beta, \"B\"";
    }
    void exportWritesWhatTheWindowWrites() {
        QFETCH(QStringList, options);
        QFETCH(QString, from);
        QFETCH(QString, client);
        EntryFilter criteria;
        if (!from.isEmpty()) {
            criteria.startDate = test::localTime(2026, 3, 5);
            criteria.endDate = test::localTime(9999, 12, 31, 23, 59, 59);
        }
        criteria.client = client;
        const QByteArray expected = exported(criteria);
        QVERIFY(!expected.isEmpty());

        const QString file = m_env->filePath(QStringLiteral("cli.csv"));
        QCOMPARE(run(QStringList{QStringLiteral("export"), QStringLiteral("csv"), file} + options),
                 0);
        QCOMPARE(test::fileBytes(file), expected);
        QCOMPARE(
            run(QStringList{QStringLiteral("export"), QStringLiteral("csv"), QStringLiteral("-")} +
                options),
            0);
        QCOMPARE(m_stdout, expected);
    }

    void summariesPrintTheWindowsRows() {
        const ClientSummaryChoice choice{QStringLiteral("Acme"), QStringLiteral("Web"), QString()};
        const QString path = m_env->filePath(QStringLiteral("client.csv"));
        QVERIFY(exportSummaryCsv(
            clientSummaryRows(choice,
                              computeClientSummary(m_env->store().entries(), choice, false)),
            path));
        QCOMPARE(run({QStringLiteral("summary"), QStringLiteral("client"), QStringLiteral("Acme"),
                      QStringLiteral("--project"), QStringLiteral("Web")}),
                 0);
        QCOMPARE(m_stdout, test::fileBytes(path));

        QCOMPARE(
            run({QStringLiteral("summary"), QStringLiteral("quick"), QStringLiteral("--from"),
                 QStringLiteral("2026-03-02"), QStringLiteral("--to"), QStringLiteral("2026-03-03"),
                 QStringLiteral("--status"), QStringLiteral("billable")}),
            0);
        QVERIFY(test::matchesGolden(m_stdout, QStringLiteral("cli-quick-summary.csv")));
    }

    // The expense exports: the window's file for the shown month, byte for
    // byte, and the expense criteria options on the filter they name.
    void expenseExportWritesWhatTheWindowWrites_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("mileage") << "mileage";
        QTest::newRow("general") << "general";
    }
    void expenseExportWritesWhatTheWindowWrites() {
        QFETCH(QString, kind);
        test::storeExportSamples(m_env->store());
        ExpenseWindow window(m_env->context(), QFont(), QFont());
        addExpenseExportCommands(window, m_env->context());
        const QString windowFile = m_env->filePath(QStringLiteral("window.csv"));
        m_env->ui().queueFile(windowFile);
        test::exportFromWindow(window, kind == QLatin1String("mileage") ? cmd::ExportMileageCsv
                                                                        : cmd::ExportGeneralCsv);
        const QByteArray expected = test::fileBytes(windowFile);
        QVERIFY(expected.count('\n') >= 2);

        const QStringList month = {QStringLiteral("--from"), QStringLiteral("2026-12-01"),
                                   QStringLiteral("--to"), QStringLiteral("2026-12-31")};
        const QString file = m_env->filePath(QStringLiteral("cli.csv"));
        QCOMPARE(run(QStringList{QStringLiteral("export"), QStringLiteral("expenses"), kind, file} +
                     month),
                 0);
        QCOMPARE(test::fileBytes(file), expected);
        QCOMPARE(run(QStringList{QStringLiteral("export"), QStringLiteral("expenses"), kind,
                                 QStringLiteral("-")} +
                     month),
                 0);
        QCOMPARE(m_stdout, expected);
    }

    void expenseCriteriaOptions() {
        test::storeExportSamples(m_env->store());
        ExpenseFilter criteria;
        criteria.category = QStringLiteral("Travel");
        criteria.receipt = ExpenseFilter::WithReceipt;
        criteria.paid = criteria.billed = criteria.billable = false;
        const QString path = m_env->filePath(QStringLiteral("expected.csv"));
        QVERIFY(exportExpenseCsv(m_env->store().expenses(), m_env->settings(), ExpenseType::General,
                                 criteria.chosen(), path));
        const QByteArray expected = test::fileBytes(path);
        QVERIFY(expected.contains("Taxi"));
        QVERIFY(!expected.contains("Lunch"));
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("expenses"),
                      QStringLiteral("general"), QStringLiteral("-"), QStringLiteral("--category"),
                      QStringLiteral("Travel"), QStringLiteral("--receipt"), QStringLiteral("yes"),
                      QStringLiteral("--status"), QStringLiteral("nonbillable")}),
                 0);
        QCOMPARE(m_stdout, expected);

        const QString expenses = QStringLiteral("expenses");
        QCOMPARE(
            run({QStringLiteral("export"), expenses, QStringLiteral("car"), QStringLiteral("-")}),
            2);
        QVERIFY(m_stderr.contains("mileage or general"));
        QCOMPARE(run({QStringLiteral("export"), expenses, QStringLiteral("general"),
                      QStringLiteral("-"), QStringLiteral("--receipt"), QStringLiteral("maybe")}),
                 2);
        // Phase and task are the entries' alone.
        QCOMPARE(run({QStringLiteral("export"), expenses, QStringLiteral("general"),
                      QStringLiteral("-"), QStringLiteral("--phase"), QStringLiteral("Build")}),
                 2);
        QCOMPARE(run({QStringLiteral("export"), expenses, QStringLiteral("mileage"),
                      m_env->filePath(QStringLiteral("no/such/x.csv"))}),
                 1);
    }

    // A report whose criteria choose nothing is still written (exit 0), and
    // says on standard error that it lists nothing; one that lists entries
    // says nothing of the kind.
    void reportOfNothingSaysSo_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("empty");
        QTest::newRow("a misspelt client") << "Acmee" << true;
        QTest::newRow("a client with entries") << "Acme" << false;
    }
    void reportOfNothingSaysSo() {
        QFETCH(QString, client);
        QFETCH(bool, empty);
        const QString file = m_env->filePath(QStringLiteral("invoice.html"));
        QCOMPARE(run({QStringLiteral("report"), QStringLiteral("invoice"), file,
                      QStringLiteral("--client"), client}),
                 0);
        QVERIFY(QFile::exists(file));
        QCOMPARE(m_stderr.contains("0 entries chosen"), empty);
    }

    void failuresGiveTheirExitCodes() {
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("csv"),
                      m_env->filePath(QStringLiteral("no/such/x.csv"))}),
                 1);
        QVERIFY(
            m_stderr.contains("Export failed. Please make sure there is enough storage space "
                              "and try again."));
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("csv")}), 2);
        QCOMPARE(run({QStringLiteral("summary"), QStringLiteral("client")}), 2);
        QCOMPARE(run({QStringLiteral("summary"), QStringLiteral("quick"), QStringLiteral("--from"),
                      QStringLiteral("March")}),
                 2);
    }
};

TEMPOLATCH_TEST(ExportCommandLineTest);
#include "ExportCommandLineTest.moc"
