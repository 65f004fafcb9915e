#include <QFileInfo>

#include "app/ExpenseExportCommands.h"
#include "common/EnvironmentTest.h"
#include "common/ProgramRun.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "notes/NoteStream.h"
#include "platform/Profile.h"
#include "records/EntryFilter.h"
#include "records/ExpenseFilter.h"
#include "reports/CsvExport.h"
#include "reports/ExpenseExportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/Summaries.h"
#include "settings/Settings.h"
#include "store/Expenses.h"
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
    QString m_stdoutFile;  // where standard output goes instead of to the test

    int run(const QStringList& args) {
        const test::ProgramRun run = test::runProgram(
            m_env->folder(), args, {.display = true, .usLocale = true, .stdoutFile = m_stdoutFile});
        m_stdout = run.out;
        m_stderr = run.errors;
        return run.exitCode;
    }

    QByteArray exported(const EntryFilter& criteria) {
        const QString path = m_env->filePath(QStringLiteral("window.csv"));
        if (!exportTimeEntryCsv(m_env->store(), m_env->settings(), criteria, path))
            return {};
        return test::fileBytes(path);
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
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

    // --search narrows as the window's search box does, the note included;
    // the export and the report take the same entries.
    void searchOption() {
        TimeEntry noted;
        noted.client = QStringLiteral("Acme");
        noted.task = QStringLiteral("T");
        noted.status = EntryStatus::Billable;
        noted.date = at(2026, 3, 20, 9);
        noted.duration = 100;
        noted.modified = at(2026, 3, 1);
        noted.note =
            NoteData::fromContent({NoteText::fromPlainText(QStringLiteral("Header fixed")), {}})
                .bytes();
        QCOMPARE(TimeEntries(m_env->store()).add(noted), WriteResult::Written);

        EntryFilter criteria;
        criteria.search = SearchWords(QStringLiteral("web ACME"), noteToPlainText);
        const QByteArray expected = exported(criteria);
        QCOMPARE(expected.count('\n'), 1 + 4);  // Acme's entries of project Web
        QCOMPARE(run({"export", "csv", "-", "--search", "web ACME"}), 0);
        QCOMPARE(m_stdout, expected);

        QCOMPARE(run({"export", "csv", "-", "--search", "header"}), 0);
        QCOMPARE(m_stdout.count('\n'), 2);
        QVERIFY(m_stdout.contains("Header fixed"));
        QCOMPARE(run({"summary", "quick", "--search", "header"}), 0);
        QVERIFY2(m_stdout.contains("\"Number of Items:\",\"1\""), m_stdout.constData());
        QCOMPARE(run({"report", "tabular", m_env->filePath(QStringLiteral("r.html")), "--search",
                      "nothing-holds-this"}),
                 0);
        QVERIFY(m_stderr.contains("0 entries chosen"));
        QCOMPARE(run({"export", "csv", "--help"}), 0);
        QVERIFY(m_stdout.contains("--search <WORDS>"));
    }

    void summariesPrintTheWindowsRows() {
        const ClientSummaryChoice choice{QStringLiteral("Acme"), QStringLiteral("Web"), QString()};
        const QString path = m_env->filePath(QStringLiteral("client.csv"));
        QVERIFY(exportSummaryCsv(
            clientSummaryRows(choice, computeClientSummary(m_env->store(), choice, false)), path));
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

        // Nothing chosen and no day given: a period of none, not of 1601.
        QCOMPARE(run({"summary", "quick", "--client", "Nobody"}), 0);
        QVERIFY2(m_stdout.contains("Number of Items") && !m_stdout.contains("1601"),
                 m_stdout.constData());
    }

    // An entry and an expense that older data left dated 0 ("no date") are
    // in every output of all dates, without a date; a range that begins
    // later leaves them out, as it leaves out every earlier record.
    void undatedRecordsAreInOutputsOfAllDates_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("csv") << QStringList{"export", "csv"};
        QTest::newRow("xml") << QStringList{"export", "xml"};
        QTest::newRow("tabular report") << QStringList{"report", "tabular"};
        QTest::newRow("expense csv") << QStringList{"export", "expenses", "general"};
        QTest::newRow("expense report") << QStringList{"report", "general"};
    }
    void undatedRecordsAreInOutputsOfAllDates() {
        QFETCH(QStringList, args);
        TimeEntry entry;
        entry.client = QStringLiteral("Undated");
        entry.duration = 75;
        QCOMPARE(TimeEntries(m_env->store()).add(entry), WriteResult::Written);
        ExpenseEntry expense;
        expense.client = QStringLiteral("Undated");
        expense.amount = 1250;
        QCOMPARE(Expenses(m_env->store()).add(expense), WriteResult::Written);

        const QString file = m_env->filePath(QStringLiteral("all.out"));
        QCOMPARE(run(args + QStringList{file}), 0);
        const QByteArray all = test::fileBytes(file);
        QVERIFY2(all.contains("Undated"), all.constData());
        // No date is shown as none, not as a day of 1601 or (short) 2001.
        QVERIFY2(!all.contains("1/1/01"), all.constData());
        if (args.contains(QStringLiteral("csv"))) {
            const QList<QStringList> rows = test::readCsvWithPython(file);
            QVERIFY(std::any_of(rows.begin(), rows.end(), [](const QStringList& row) {
                return row.contains(QStringLiteral("Undated"));
            }));
        }
        QCOMPARE(
            run(args + QStringList{file, QStringLiteral("--from"), QStringLiteral("1601-01-02")}),
            0);
        QVERIFY(!test::fileBytes(file).contains("Undated"));
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
        QVERIFY(exportExpenseCsv(m_env->store(), m_env->settings(), ExpenseType::General,
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

    // Output that does not all reach standard output is a failure, not a
    // short file passed off as the whole.
    void fullStandardOutputFails_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("dump") << QStringList{"dump"};
        QTest::newRow("export csv") << QStringList{"export", "csv", "-"};
        QTest::newRow("export xml") << QStringList{"export", "xml", "-"};
        QTest::newRow("summary quick") << QStringList{"summary", "quick"};
        QTest::newRow("report") << QStringList{"report", "tabular", "-"};
        QTest::newRow("backup") << QStringList{"backup", "-"};
    }
    void fullStandardOutputFails() {
        QFETCH(QStringList, args);
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        m_stdoutFile = QStringLiteral("/dev/full");
        QCOMPARE(run(args), 1);
        m_stdoutFile.clear();
        QVERIFY(!m_stderr.isEmpty());
    }

    // The profile's own files are never written over, whatever writes them;
    // the command says why and the store and settings stay as they were.
    void profileFilesAreRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("csv over the store") << QStringList{"export", "csv", "@/store.db"};
        QTest::newRow("invoice over the settings")
            << QStringList{"report", "invoice", "@/registry.db"};
        QTest::newRow("xml over the store's journal")
            << QStringList{"export", "xml", "@/store.db-wal"};
        QTest::newRow("expenses over the timers")
            << QStringList{"export", "expenses", "general", "@/timers.dat"};
        QTest::newRow("list over the settings")
            << QStringList{"list", "export", "phase", "@/registry.db"};
        QTest::newRow("archive over the store")
            << QStringList{"archive", "@/store.db", "--from", "2026-01-01", "--to", "2026-12-31"};
        QTest::newRow("clients over the store") << QStringList{"export", "clients", "@/store.db"};
        QTest::newRow("a folder") << QStringList{"export", "csv", "@"};
    }
    void profileFilesAreRefused() {
        QFETCH(QStringList, args);
        args.replaceInStrings(QStringLiteral("@"), m_env->folder());
        m_env->store().close();
        const QByteArray store = test::fileBytes(platform::Profile::storePath());
        const QByteArray settings = test::fileBytes(platform::Profile::registryPath());
        QCOMPARE(run(args), 1);
        QVERIFY2(
            m_stderr.contains(args.contains(m_env->folder()) ? "is a folder"
                                                             : "holds the data of the profile"),
            m_stderr.constData());
        QCOMPARE(test::fileBytes(platform::Profile::storePath()), store);
        QCOMPARE(test::fileBytes(platform::Profile::registryPath()), settings);
        QVERIFY(!QFile::exists(m_env->filePath(QStringLiteral("timers.dat"))));
    }

    // A pipe given as FILE gets the export and stays a pipe.
    void pipeGetsTheExport() {
        const QString pipe = m_env->filePath(QStringLiteral("pipe"));
        QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {pipe}), 0);
        QProcess reader;
        reader.start(QStringLiteral("cat"), {pipe});
        QVERIFY(reader.waitForStarted());
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("csv"), pipe}), 0);
        QVERIFY(reader.waitForFinished());
        QCOMPARE(reader.readAllStandardOutput(), exported(EntryFilter()));
        QVERIFY(!QFileInfo(pipe).isFile());
        QVERIFY(QFileInfo::exists(pipe));
    }

    void failuresGiveTheirExitCodes() {
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("csv"),
                      m_env->filePath(QStringLiteral("no/such/x.csv"))}),
                 1);
        // The cause, not a full disk.
        QVERIFY2(m_stderr.contains("no/such/x.csv: the folder ") &&
                     m_stderr.contains("no/such does not exist"),
                 m_stderr.constData());
        QCOMPARE(run({QStringLiteral("export"), QStringLiteral("csv")}), 2);
        QCOMPARE(run({QStringLiteral("summary"), QStringLiteral("client")}), 2);
        QCOMPARE(run({QStringLiteral("summary"), QStringLiteral("quick"), QStringLiteral("--from"),
                      QStringLiteral("March")}),
                 2);
    }
};

TEMPOLATCH_TEST(ExportCommandLineTest);
#include "ExportCommandLineTest.moc"
