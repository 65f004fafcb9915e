#include <QTemporaryDir>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "records/EntryFilter.h"
#include "reports/CsvExport.h"
#include "reports/CsvRows.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;
using test::at;

namespace {

QByteArray noteOf(const QString& text) {
    NoteContent content;
    content.text = NoteText::fromPlainText(text);
    return NoteData::encode(content);
}

TimeEntry entry(EntryStatus status, const QString& client, platform::FileTime date, int duration) {
    TimeEntry e;
    e.status = status;
    e.client = client;
    e.project = QStringLiteral("Web");
    e.task = QStringLiteral("Design");
    e.currency = QStringLiteral("USD");
    e.date = date;
    e.duration = duration;
    e.modified = at(2026, 3, 1);
    return e;
}

// Dated in the week of 2026-03-02, with one entry on each side of it: the
// first instant of the week, its last one, and one millisecond after.
QList<TimeEntry> sampleEntries() {
    QList<TimeEntry> list;
    TimeEntry e = entry(EntryStatus::NonBillable, QStringLiteral("Acme \"Big\", Inc."),
                        at(2026, 3, 2, 9, 0, 1), 117);
    e.rate = 5000;
    e.note = noteOf(QStringLiteral("a\nb"));
    list.append(e);

    e = entry(EntryStatus::Billable, QStringLiteral("Beta"), at(2026, 3, 2), 200);
    e.rateType = RateType::Fixed;
    e.rate = 25000;
    e.breakTime = 25;
    e.custom1 = QStringLiteral("x,y");
    list.append(e);

    e = entry(EntryStatus::Paid, QStringLiteral("Beta"), at(2026, 3, 4, 14, 30, 1), 133);
    e.rateType = RateType::Overtime;
    e.rate = 6000;
    e.paidDate = at(2026, 3, 10);
    e.billTo = QStringLiteral("Jane Roe");
    e.phase = QStringLiteral("Build");
    e.custom3 = QStringLiteral("c3");
    e.note = noteOf(QStringLiteral("first \"line\"\nsecond\nthird"));
    list.append(e);

    e = entry(EntryStatus::Billed, QStringLiteral("Other"), at(2026, 3, 6, 23, 59, 59), 50);
    e.rate = 1000;
    e.currency = QStringLiteral("EUR");
    e.custom2 = QStringLiteral("ümlaut €");
    list.append(e);

    e = entry(EntryStatus::Billable, QStringLiteral("Late"), at(2026, 3, 6, 23, 59, 59), 10);
    e.date = e.date.addTicks(platform::FileTime::TicksPerMillisecond);
    list.append(e);

    e = entry(EntryStatus::Billable, QStringLiteral("Early"), at(2026, 3, 1, 23, 59, 59), 10);
    list.append(e);
    return list;
}

}  // namespace

class CsvExportTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    void timeEntryExports_data() {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<int>("breakSub");
        QTest::addColumn<bool>("labels");
        QTest::addColumn<bool>("range");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("precise");
        QTest::addColumn<QStringList>("clients");  // of the rows, in order

        const QString acme = QStringLiteral("Acme \"Big\", Inc.");
        const QString beta = QStringLiteral("Beta");
        const QString other = QStringLiteral("Other");
        QTest::newRow("every entry, one space for a line break")
            << "entries-all.csv" << 0 << true << false << QString() << false
            << QStringList{QStringLiteral("Early"), beta, acme, beta, other,
                           QStringLiteral("Late")};
        QTest::newRow("one week, bars, no custom labels, precise")
            << "entries-week.csv" << 3 << false << true << QString() << true
            << QStringList{beta, acme, beta, other};
        QTest::newRow("one client in the week, tilde and grave")
            << "entries-client.csv" << 2 << true << true << beta << false
            << QStringList{beta, beta};
        QTest::newRow("nothing chosen: the header alone")
            << "entries-none.csv" << 1 << true << true << QStringLiteral("Nobody") << false
            << QStringList{};
    }
    void timeEntryExports() {
        QFETCH(QString, golden);
        QFETCH(int, breakSub);
        QFETCH(bool, labels);
        QFETCH(bool, range);
        QFETCH(QString, client);
        QFETCH(bool, precise);
        QFETCH(QStringList, clients);

        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        TimeEntries entries(store);
        for (TimeEntry e : sampleEntries())
            QCOMPARE(entries.add(e), WriteResult::Written);

        Settings& settings = m_env->settings();
        settings.breakSub = quint16(breakSub);
        settings.setFlag(PreciseCalculation, precise);
        if (labels) {
            settings.custom1 = QStringLiteral("Ticket");
            settings.custom2 = QStringLiteral("Say \"hi\"");
        } else {
            settings.custom1.clear();
            settings.custom2.clear();
            settings.custom3.clear();
        }
        EntryFilter criteria;
        if (range) {
            criteria.startDate = test::localTime(2026, 3, 2);
            criteria.endDate = test::localTime(2026, 3, 6, 23, 59, 59);
        }
        criteria.client = client;

        const QString path = m_env->filePath(QStringLiteral("out.csv"));
        QVERIFY(exportTimeEntryCsv(store, settings, criteria, path));
        QVERIFY(test::matchesGolden(test::fileBytes(path), golden));

        // Read back by an outside reader: 20 columns on every line, and the
        // texts as they went in, quotes and commas included.
        const QList<QStringList> rows = test::readCsvWithPython(path);
        QCOMPARE(rows.size(), clients.size() + 1);
        for (const QStringList& row : rows)
            QCOMPARE(row.size(), 20);
        QCOMPARE(rows[0][13], labels ? QStringLiteral("Ticket") : QString());
        QCOMPARE(rows[0][14], labels ? QStringLiteral("Say \"hi\"") : QString());
        QCOMPARE(rows[0][19], QStringLiteral("Break Time"));
        const QString bar = lineBreakReplacement(quint16(breakSub));
        for (int i = 0; i < clients.size(); ++i) {
            const QStringList& row = rows[i + 1];
            QCOMPARE(row[1], clients[i]);
            if (clients[i] == QLatin1String("Acme \"Big\", Inc.")) {
                QCOMPARE(row[16], QStringLiteral("a") + bar + QStringLiteral("b"));
                QCOMPARE(row[9], QStringLiteral("50.00"));  // Non Billable keeps its rate
                QCOMPARE(row[10], QString());
                QCOMPARE(row[11], QString());
            }
            if (row[16].startsWith(QLatin1String("first")))
                QCOMPARE(row[16], QStringLiteral("first \"line\"") + bar +
                                      QStringLiteral("second") + bar + QStringLiteral("third"));
            if (clients[i] == QLatin1String("Other"))
                QCOMPARE(row[14], QStringLiteral("ümlaut €"));
        }
    }

    void failedExportLeavesTheOldFile() {
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        QVERIFY(!exportTimeEntryCsv(store, m_env->settings(), EntryFilter(),
                                    m_env->filePath(QStringLiteral("no/such/folder.csv"))));
    }

    void expenseExports_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<int>("columns");
        QTest::newRow("mileage") << int(ExpenseType::Mileage) << "expenses-mileage.csv" << 17;
        QTest::newRow("general") << int(ExpenseType::General) << "expenses-general.csv" << 15;
    }
    void expenseExports() {
        QFETCH(int, type);
        QFETCH(QString, golden);
        QFETCH(int, columns);

        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        Expenses expenses(store);
        ExpenseEntry trip;
        trip.type = ExpenseType::Mileage;
        trip.date = at(2026, 3, 3);
        trip.description = QStringLiteral("Site visit");
        trip.client = QStringLiteral("Acme");
        trip.startOdometer = 1000;
        trip.distance = 120;
        trip.amount = 35;
        trip.receipt = true;
        trip.status = EntryStatus::Billed;
        trip.currency = QStringLiteral("USD");
        trip.note = QStringLiteral("there\r\nand \"back\"");
        trip.modified = at(2026, 3, 3);
        QCOMPARE(expenses.add(trip), WriteResult::Written);
        ExpenseEntry lunch;
        lunch.type = ExpenseType::General;
        lunch.date = at(2026, 3, 4);
        lunch.description = QStringLiteral("Lunch, team");
        lunch.client = QStringLiteral("Acme");
        lunch.category = QStringLiteral("Meals");
        lunch.amount = 4250;
        lunch.status = EntryStatus::Paid;
        lunch.paidDate = at(2026, 3, 20);
        lunch.custom1 = QStringLiteral("c1");
        lunch.modified = at(2026, 3, 4);
        QCOMPARE(expenses.add(lunch), WriteResult::Written);

        const QString path = m_env->filePath(QStringLiteral("expenses.csv"));
        QVERIFY(exportExpenseCsv(store, m_env->settings(), ExpenseType(type),
                                 ExpenseCriteria{at(2026, 3, 1), at(2026, 3, 31), {}}, path));
        QVERIFY(test::matchesGolden(test::fileBytes(path), golden));

        const QList<QStringList> rows = test::readCsvWithPython(path);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].size(), columns);
        QCOMPARE(rows[1].size(), columns);
        if (ExpenseType(type) == ExpenseType::Mileage) {
            QCOMPARE(rows[0][7], QStringLiteral("Rate"));
            QCOMPARE(rows[1][7], QStringLiteral("0.35"));
            QCOMPARE(rows[1][10], QStringLiteral("42.00"));  // 0.35 x 120
            QCOMPARE(rows[1][8], QStringLiteral("Y"));
            QCOMPARE(rows[1][16], trip.note);
        } else {
            QCOMPARE(rows[1][2], QStringLiteral("Lunch, team"));
            QCOMPARE(rows[1][5], QStringLiteral("Meals"));
            QCOMPARE(rows[1][6], QStringLiteral("N"));
        }
    }

    // Text a spreadsheet would run as a formula is written after an
    // apostrophe unless the user turned that off; figures stay figures, and
    // control characters never reach the file.
    void formulaGuard_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("guarded");
        QTest::addColumn<QString>("raw");  // with the guard off
        const QString link = QStringLiteral("=HYPERLINK(\"http://x.test\",\"Click\")");
        QTest::newRow("a formula") << link << "'" + link << link;
        QTest::newRow("plus") << "+cmd|' /C calc'!A0"
                              << "'+cmd|' /C calc'!A0"
                              << "+cmd|' /C calc'!A0";
        QTest::newRow("minus") << "-2+3"
                               << "'-2+3"
                               << "-2+3";
        QTest::newRow("at") << "@SUM(A1:A9)"
                            << "'@SUM(A1:A9)"
                            << "@SUM(A1:A9)";
        QTest::newRow("tab") << "\t=1"
                             << "'\t=1"
                             << "\t=1";
        QTest::newRow("carriage return") << "\r=1"
                                         << "'\r=1"
                                         << "\r=1";
        QTest::newRow("a control character hiding a formula") << QStringLiteral("\x01=1") << "'=1"
                                                              << "=1";
        QTest::newRow("control characters inside") << QStringLiteral(
                                                          "a\x02"
                                                          "b\x7f"
                                                          "\u0085c")
                                                   << "abc"
                                                   << "abc";
        QTest::newRow("line breaks and tabs inside stay") << "a\r\nb\tc"
                                                          << "a\r\nb\tc"
                                                          << "a\r\nb\tc";
        QTest::newRow("a negative figure") << "-1.50"
                                           << "-1.50"
                                           << "-1.50";
        QTest::newRow("a figure of hours") << "-12.50 "
                                           << "-12.50 "
                                           << "-12.50 ";
        QTest::newRow("a share") << "+5.0%"
                                 << "+5.0%"
                                 << "+5.0%";
        QTest::newRow("plain text") << "Acme"
                                    << "Acme"
                                    << "Acme";
        QTest::newRow("a sign inside") << "Smith = Jones"
                                       << "Smith = Jones"
                                       << "Smith = Jones";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void formulaGuard() {
        QFETCH(QString, value);
        QFETCH(QString, guarded);
        QFETCH(QString, raw);
        QCOMPARE(csvText(value, true), guarded);
        QCOMPARE(csvText(value, false), raw);

        // The same through a whole export, read back by a CSV reader: every
        // text field of an entry, the note and a custom label.
        RecordStore& store = m_env->store();
        QVERIFY(store.openAll());
        TimeEntry e = entry(EntryStatus::Billable, value, at(2026, 3, 2, 9), 100);
        e.project = e.phase = e.task = e.currency = e.billTo = e.custom1 = value;
        e.note = noteOf(value);
        QCOMPARE(TimeEntries(store).add(e), WriteResult::Written);
        Settings& settings = m_env->settings();
        settings.custom2 = value;
        for (const bool guard : {true, false}) {
            settings.csvFormulaGuard = guard;
            const QString path = m_env->filePath(QStringLiteral("guard.csv"));
            QVERIFY(exportTimeEntryCsv(store, settings, EntryFilter(), path));
            const QList<QStringList> rows = test::readCsvWithPython(path);
            QCOMPARE(rows.size(), 2);
            const QString expected = guard ? guarded : raw;
            QCOMPARE(rows[0][14], expected);  // the label of Custom 2
            for (const int column : {1, 2, 3, 4, 8, 12, 13})
                QCOMPARE(rows[1][column], expected);
            if (!value.contains(u'\r'))  // a note's line breaks are replaced first
                QCOMPARE(rows[1][16], expected);
        }
    }

    void summaryExport() {
        const QList<QStringList> rows = {
            {QStringLiteral("Client:"), QStringLiteral("Acme \"Big\"")},
            {QString(), QString(), QString()},
            {QStringLiteral("Hours:"), QStringLiteral("12.50h")},
            {QStringLiteral("Billable "), QStringLiteral("2.00h"), QStringLiteral("50.0%")},
            {QStringLiteral("Period Type:"), QStringLiteral("Month")},
            {QStringLiteral("hh"), QStringLiteral("h"), QStringLiteral("h")},
        };
        const QString path = m_env->filePath(QStringLiteral("summary.csv"));
        QVERIFY(exportSummaryCsv(rows, path));
        QVERIFY(test::matchesGolden(test::fileBytes(path), QStringLiteral("summary.csv")));
        const QList<QStringList> back = test::readCsvWithPython(path);
        QCOMPARE(back.size(), 6);
        QCOMPARE(back[0][1], QStringLiteral("Acme \"Big\""));
        QCOMPARE(back[2][1], QStringLiteral("12.50 "));
        QCOMPARE(back[3], (QStringList{QStringLiteral("Billable "), QStringLiteral("2.00 "),
                                       QStringLiteral("50.0%")}));
        // Only the hours' suffix goes: other texts keep their letters h.
        QCOMPARE(back[4][1], QStringLiteral("Month"));
        QCOMPARE(back[5],
                 (QStringList{QStringLiteral("hh"), QStringLiteral("h"), QStringLiteral("h")}));
    }
};

TEMPOLATCH_TEST(CsvExportTest);
#include "CsvExportTest.moc"
