#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "reports/CsvExport.h"
#include "reports/ReportsTestSupport.h"
#include "reports/Summaries.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;
using test::at;

namespace {

quint32 addEntry(TimeEntries& entries, EntryStatus status, const QString& client,
                 const QString& project, const QString& task, platform::FileTime date, int duration,
                 int rate) {
    TimeEntry e;
    e.status = status;
    e.client = client;
    e.project = project;
    e.task = task;
    e.date = date;
    e.duration = duration;
    e.rate = rate;
    e.modified = at(2026, 1, 1);
    return entries.add(e) == WriteResult::Written ? e.recordId : 0;
}

// The rows as the window's "Export CSV" writes them, compared whole.
bool exportMatches(test::TestEnvironment& env, const SummaryRows& rows, const QString& golden) {
    const QString path = env.filePath(QStringLiteral("summary.csv"));
    return exportSummaryCsv(rows, path) && test::matchesGolden(test::fileBytes(path), golden);
}

QString cell(const SummaryRows& rows, const QString& label, int column) {
    for (const QStringList& row : rows)
        if (row.value(0) == label)
            return row.value(column);
    return QStringLiteral("<no row %1>").arg(label);
}

}  // namespace

class SummariesTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // Hours as decimals or as hours and whole minutes, a minute rounded
    // half away from zero; a total in minutes is the sum of its parts as
    // printed (three hundredths print 0:01 each and add up to 0:03).
    void hoursTexts_data() {
        QTest::addColumn<qint64>("hundredths");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("none") << qint64(0) << "0.00h"
                              << "0:00";
        QTest::newRow("a hundredth") << qint64(1) << "0.01h"
                                     << "0:01";
        QTest::newRow("0.66 h") << qint64(66) << "0.66h"
                                << "0:40";
        QTest::newRow("0.67 h") << qint64(67) << "0.67h"
                                << "0:40";
        QTest::newRow("1.17 h") << qint64(117) << "1.17h"
                                << "1:10";
        QTest::newRow("minus half an hour") << qint64(-50) << "-0.50h"
                                            << "-0:30";
        QTest::newRow("65535") << qint64(65535) << "655.35h"
                               << "655:21";
        QTest::newRow("65536") << qint64(65536) << "655.36h"
                               << "655:22";
    }
    void hoursTexts() {
        QFETCH(qint64, hundredths);
        QFETCH(QString, decimal);
        QFETCH(QString, minutes);
        QCOMPARE(hoursText(hundredths), decimal);
        QCOMPARE(hoursText(hundredths, HoursFormat::HoursMinutes), minutes);
        HoursTotal total;
        for (int i = 0; i < 3; ++i)
            total.add(hundredths);
        QCOMPARE(total.hundredths, 3 * hundredths);
        QCOMPARE(hoursText(total, HoursFormat::Decimal), hoursText(3 * hundredths));
        QCOMPARE(total.minutes, 3 * minutesOf(hundredths));
    }

    void quickSummaryShares() {
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        // 2 h billable, 1 h of it paid, and 2 h non-billable; Alpha and
        // alpha are one project, labelled as met first.
        const QList<quint32> ids = {
            addEntry(entries, EntryStatus::Billable, QStringLiteral("Acme"),
                     QStringLiteral("Alpha"), QStringLiteral("T"), at(2026, 3, 2, 9, 0, 1), 100,
                     5000),
            addEntry(entries, EntryStatus::Paid, QStringLiteral("Acme"), QStringLiteral("alpha"),
                     QStringLiteral("T"), at(2026, 3, 3), 100, 5000),
            addEntry(entries, EntryStatus::NonBillable, QStringLiteral("Acme"),
                     QStringLiteral("Beta"), QStringLiteral("T"), at(2026, 3, 4), 200, 5000),
            addEntry(entries, EntryStatus::Billed, QStringLiteral("Acme"), QString(),
                     QStringLiteral("T"), at(2026, 3, 5), 0, 5000),
        };
        QVERIFY(!ids.contains(0));
        SummaryPeriod period;
        period.periodType = 2;
        period.start = test::localTime(2026, 3, 1);
        period.end = test::localTime(2026, 3, 7, 23, 59, 59);
        const SummaryRows rows = quickSummaryRows(m_env->store(), period, ids, false);
        QCOMPARE(cell(rows, QStringLiteral("Billable "), 2), QStringLiteral("50.0%"));
        QCOMPARE(cell(rows, QStringLiteral("Paid "), 2), QStringLiteral("50.0%"));
        QCOMPARE(cell(rows, QStringLiteral("Non Billable "), 2), QStringLiteral("50.0%"));
        QCOMPARE(cell(rows, QStringLiteral("Alpha"), 1), QStringLiteral("2.00h"));
        QCOMPARE(cell(rows, QStringLiteral("alpha"), 1), QStringLiteral("<no row alpha>"));
        QVERIFY(exportMatches(*m_env, rows, QStringLiteral("quick-summary.csv")));
    }

    void emptyQuickSummary_data() {
        QTest::addColumn<int>("periodType");
        QTest::addColumn<QString>("golden");
        QTest::newRow("day") << 1 << "quick-summary-empty-day.csv";
        QTest::newRow("month") << 3 << "quick-summary-empty-month.csv";
        QTest::newRow("custom") << 4 << "quick-summary-empty-custom.csv";
    }
    void emptyQuickSummary() {
        QFETCH(int, periodType);
        QFETCH(QString, golden);
        QVERIFY(m_env->store().openAll());
        SummaryPeriod period;
        period.periodType = periodType;
        period.start = test::localTime(2026, 2, 1);
        period.end = test::localTime(2026, 2, 28, 23, 59, 59);
        const SummaryRows rows = quickSummaryRows(m_env->store(), period, {}, false);
        for (const QStringList& row : rows) {
            QCOMPARE(row.size(), 3);
            if (!row[2].isEmpty())
                QCOMPARE(row[2], QStringLiteral("0%"));
        }
        QCOMPARE(cell(rows, QStringLiteral("Amount:"), 1), QStringLiteral("0.00"));
        QVERIFY(exportMatches(*m_env, rows, golden));
    }

    void clientSummary_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("task");
        QTest::addColumn<QString>("golden");
        QTest::newRow("(All) and (All): every entry of the client")
            << "Acme" << QString() << QString() << "client-summary-all.csv";
        QTest::newRow("one project and task") << "Acme"
                                              << "Web"
                                              << "Code"
                                              << "client-summary-task.csv";
        QTest::newRow("case matters for the client")
            << "acme" << QString() << QString() << "client-summary-none.csv";
    }
    void clientSummary() {
        QFETCH(QString, client);
        QFETCH(QString, project);
        QFETCH(QString, task);
        QFETCH(QString, golden);
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        const QString acme = QStringLiteral("Acme");
        const QString web = QStringLiteral("Web");
        // Other clients' entries before, between and after Acme's.
        addEntry(entries, EntryStatus::Paid, QStringLiteral("Zed"), web, QStringLiteral("Code"),
                 at(2025, 1, 1), 100, 1000);
        addEntry(entries, EntryStatus::Billable, acme, web, QStringLiteral("Design"),
                 at(2025, 2, 3, 8, 0, 1), 150, 4000);
        addEntry(entries, EntryStatus::Paid, acme, web, QStringLiteral("Code"), at(2025, 5, 6), 200,
                 5000);
        addEntry(entries, EntryStatus::Paid, QStringLiteral("Zed"), web, QStringLiteral("Code"),
                 at(2025, 6, 1), 100, 1000);
        addEntry(entries, EntryStatus::Billed, acme, web, QStringLiteral("Code"), at(2025, 7, 8),
                 125, 5000);
        addEntry(entries, EntryStatus::NonBillable, acme, QStringLiteral("Admin"),
                 QStringLiteral("Mail"), at(2025, 9, 10), 50, 0);
        addEntry(entries, EntryStatus::Paid, QStringLiteral("Zed"), web, QStringLiteral("Code"),
                 at(2026, 1, 1), 100, 1000);

        const ClientSummaryChoice choice{client, project, task};
        const ClientSummary summary = computeClientSummary(m_env->store(), choice, false);
        QVERIFY(exportMatches(*m_env, clientSummaryRows(choice, summary), golden));
    }

    // Each currency has its own block of amounts, each the sum of the
    // amounts as shown: three 0.50 h at 75.25 make 3 x 37.63, three thirds
    // of an hour at 85.00 make 3 x 28.33; Non Billable hours have none.
    void amountsPerCurrency_data() {
        QTest::addColumn<bool>("client");
        QTest::newRow("quick summary") << false;
        QTest::newRow("client summary") << true;
    }
    void amountsPerCurrency() {
        QFETCH(bool, client);
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        QList<quint32> ids;
        const auto add = [&](const QString& currency, EntryStatus status, int duration, int rate,
                             int day) {
            TimeEntry e;
            e.client = QStringLiteral("Acme");
            e.currency = currency;
            e.status = status;
            e.duration = duration;
            e.rate = rate;
            e.date = at(2026, 3, day);
            e.modified = e.date;
            QCOMPARE(entries.add(e), WriteResult::Written);
            ids.append(e.recordId);
        };
        for (int day = 2; day <= 4; ++day) {
            add(QStringLiteral("EUR"), EntryStatus::Billable, 50, 7525, day);
            add(QStringLiteral("JPY"), EntryStatus::Billed, 33, 8500, day);
        }
        add(QStringLiteral("EUR"), EntryStatus::Paid, 100, 1050, 5);
        add(QStringLiteral("EUR"), EntryStatus::NonBillable, 200, 6000, 6);

        SummaryPeriod period;
        period.start = test::localTime(2026, 3, 1);
        period.end = test::localTime(2026, 3, 7, 23, 59, 59);
        const ClientSummaryChoice choice{QStringLiteral("Acme"), {}, {}};
        const SummaryRows rows =
            client ? clientSummaryRows(choice, computeClientSummary(m_env->store(), choice, true))
                   : quickSummaryRows(m_env->store(), period, ids, true);
        const qsizetype first = rows.indexOf(QStringList{"Amount:", "EUR 123.39", ""});
        QVERIFY2(first >= 0, qPrintable(cell(rows, QStringLiteral("Amount:"), 1)));
        QCOMPARE(rows.mid(first, 8), (SummaryRows{{"Amount:", "EUR 123.39", ""},
                                                  {"Unpaid ", "EUR 112.89", ""},
                                                  {"Billed ", "EUR 0.00", ""},
                                                  {"Paid ", "EUR 10.50", ""},
                                                  {"Amount:", "JPY 84.99", ""},
                                                  {"Unpaid ", "JPY 84.99", ""},
                                                  {"Billed ", "JPY 84.99", ""},
                                                  {"Paid ", "JPY 0.00", ""}}));
        QCOMPARE(cell(rows, QStringLiteral("Hours:"), 1), QStringLiteral("5.49h"));
    }

    void expenseQuickSummary() {
        QVERIFY(m_env->store().openAll());
        Expenses expenses(m_env->store());
        QList<quint32> ids;
        const auto add = [&](ExpenseType type, EntryStatus status, const QString& client,
                             const QString& category, int amount, int distance) {
            ExpenseEntry e;
            e.type = type;
            e.status = status;
            e.client = client;
            e.category = category;
            e.amount = amount;
            e.distance = distance;
            e.date = at(2026, 3, 2);
            e.modified = at(2026, 3, 2);
            QCOMPARE(expenses.add(e), WriteResult::Written);
            ids.append(e.recordId);
        };
        add(ExpenseType::Mileage, EntryStatus::Billed, QStringLiteral("Acme"), QString(), 35, 120);
        add(ExpenseType::General, EntryStatus::Paid, QStringLiteral("acme"),
            QStringLiteral("Meals"), 1800, 0);
        add(ExpenseType::General, EntryStatus::NonBillable, QStringLiteral("Beta"),
            QStringLiteral("Hotel"), 10000, 0);
        SummaryPeriod period;
        period.periodType = 3;
        period.start = test::localTime(2026, 3, 1);
        period.end = test::localTime(2026, 3, 31, 23, 59, 59);
        const SummaryRows rows = expenseQuickSummaryRows(m_env->store(), period, ids);
        QCOMPARE(cell(rows, QStringLiteral("Mileage:"), 1), QStringLiteral("42.00"));
        // Non Billable amounts count in the breakdown and in its base, so
        // that no share goes past 100 %.
        QCOMPARE(cell(rows, QStringLiteral("Beta"), 2), QStringLiteral("62.5%"));
        QCOMPARE(cell(rows, QStringLiteral("Acme"), 1), QStringLiteral("60.00"));
        QVERIFY(exportMatches(*m_env, rows, QStringLiteral("expense-quick-summary.csv")));
    }
};

TEMPOLATCH_TEST(SummariesTest);
#include "SummariesTest.moc"
