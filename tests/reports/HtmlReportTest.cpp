#include <QRegularExpression>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "records/EntryFilter.h"
#include "reports/HtmlReport.h"
#include "reports/ReportLayout.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Settings.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

class HtmlReportTest : public test::EnvironmentTest {
    Q_OBJECT

    EntryFilter december() const {
        EntryFilter criteria;
        criteria.startDate = test::day(2026, 12, 1);
        criteria.endDate = test::localTime(2026, 12, 31, 23, 59, 59);
        return criteria;
    }
    QString page(const ReportLayout& layout, const EntryFilter& criteria) {
        const auto report = HtmlReport::make(layout, m_env->settings());
        return report ? report->page(m_env->store(), criteria, QStringLiteral("UTF-8")) : QString();
    }
    QString saved(const QString& text) {
        const QString path = m_env->filePath(QStringLiteral("report.html"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
        return path;
    }
    void addEntry(const QString& client, platform::FileTime date, qint32 duration = 100) {
        TimeEntry e;
        e.client = client;
        e.date = date;
        e.duration = duration;
        e.rate = 1000;
        e.status = EntryStatus::Billable;
        e.modified = date;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
    }

    void addPriced(const QString& currency, EntryStatus status, qint32 duration, qint32 rate,
                   int day) {
        TimeEntry e;
        e.client = QStringLiteral("A");
        e.date = test::at(2026, 12, day);
        e.duration = duration;
        e.rate = rate;
        e.currency = currency;
        e.status = status;
        e.modified = e.date;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
    }
    // A month end in two currencies: three half hours at 75.25 (37.625
    // each, shown 37.63), three thirds of an hour at 85.00 in yen (28.333
    // each, shown 28.33), a paid hour at 10.50 and two Non Billable hours
    // at 60.00.
    void addMonthEnd() {
        m_env->settings().setFlag(PreciseCalculation, true);
        const QString eur = QStringLiteral("EUR");
        const QString jpy = QStringLiteral("JPY");
        for (int day = 1; day <= 3; ++day) {
            addPriced(eur, EntryStatus::Billable, 50, 7525, day);
            addPriced(jpy, EntryStatus::Billed, 33, 8500, day);
        }
        addPriced(eur, EntryStatus::Paid, 100, 1050, 4);
        addPriced(eur, EntryStatus::NonBillable, 200, 6000, 5);
    }
    // The total rows of the page's tables as a reader sees them.
    QList<QStringList> totalRows(const QList<QStringList>& rows) {
        QList<QStringList> out;
        for (const QStringList& row : rows)
            if (row.value(0).startsWith(QStringLiteral("Total")))
                out.append(row);
        return out;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
    }

    // Each kind's built-in layout over the sample store: the whole page as
    // expected, and parsed by xmllint as HTML.
    void kinds_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("group-by") << int(ReportLayout::GroupBy);
        QTest::newRow("tabular") << int(ReportLayout::Tabular);
        QTest::newRow("invoice") << int(ReportLayout::Invoice);
    }
    void kinds() {
        QFETCH(int, kind);
        QVERIFY(test::fillReportSample(m_env->store()));
        Settings& settings = m_env->settings();
        settings.custom1 = QStringLiteral("PO <number>");
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner = {QStringLiteral("Ann Smith"), QStringLiteral("Smith & Co"),
                          QStringLiteral("1 Main St"), QStringLiteral("VAT 123"),
                          QStringLiteral("ann@example.com")};
        ReportLayout layout = ReportLayout::builtInDefault(kind);
        // Every field, so that each cell's text is compared.
        layout.setFieldMask(0x3FFFF);
        const QString text = page(layout, december());
        test::compareWithGolden(text.toUtf8(),
                                QStringLiteral("reports/report-%1.html")
                                    .arg(QString::fromLatin1(QTest::currentDataTag())));
        QCOMPARE(test::xmllintErrors(saved(text), true), QByteArray());
        QVERIFY(text.contains(QStringLiteral(
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />")));
    }

    // Grouped by client, entries of A, B, A in date order make two groups,
    // A with both its entries in date order, then B.
    void groupsAreStableByValue() {
        addEntry(QStringLiteral("A"), test::at(2026, 12, 1), 100);
        addEntry(QStringLiteral("B"), test::at(2026, 12, 2), 200);
        addEntry(QStringLiteral("A"), test::at(2026, 12, 3), 300);
        const QString text = page(ReportLayout::builtInDefault(ReportLayout::GroupBy), december());
        QCOMPARE(text.count(QStringLiteral("<h3>")), 2);
        const qsizetype a = text.indexOf(QStringLiteral("<h3>A</h3>"));
        const qsizetype b = text.indexOf(QStringLiteral("<h3>B</h3>"));
        QVERIFY(a >= 0 && b > a);
        const qsizetype first = text.indexOf(QStringLiteral(">1.00h<"));
        const qsizetype third = text.indexOf(QStringLiteral(">3.00h<"));
        QVERIFY(first > a && third > first && third < b);
        // Each group closes with its own total.
        QVERIFY(text.indexOf(QStringLiteral(">4.00h<"), third) < b);
        QVERIFY(text.indexOf(QStringLiteral(">2.00h<"), b) > b);

        // Without group titles a rule stands between the groups.
        ReportLayout untitled = ReportLayout::builtInDefault(ReportLayout::GroupBy);
        untitled.setShows(ReportLayout::GroupTitle, false);
        QCOMPARE(page(untitled, december()).count(QStringLiteral("<hr />")), 2);
        // The group-by choices without a rule of their own still work.
        for (const quint32 property : ReportLayout::GroupByChoices) {
            untitled.setGroupBy(property);
            QCOMPARE(test::xmllintErrors(saved(page(untitled, december())), true), QByteArray());
        }
    }

    // The date selection's heading; None leaves an empty h2, written with
    // its end tag so that a browser does not take it for an open heading.
    void dateSelection_data() {
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("heading");
        QTest::newRow("none") << 0 << QStringLiteral("<h2></h2>");
        QTest::newRow("range") << 1 << QStringLiteral("<h2>From 12/1/26 To 12/31/26</h2>");
        QTest::newRow("start") << 2 << QStringLiteral("<h2>Date: 12/1/26</h2>");
    }
    void dateSelection() {
        QFETCH(int, selection);
        QFETCH(QString, heading);
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setDateSelection(quint16(selection));
        const QString text = page(layout, december());
        QVERIFY2(text.contains(heading), qPrintable(text));
        // Nothing chosen: the table has its header row and no total.
        QVERIFY(text.contains(QStringLiteral("<th class=\"Data\">Entry Date</th>")));
        QVERIFY(!text.contains(QStringLiteral(">Total<")));
    }

    // 22:30 + 2.00 h + 0.50 break ends at one o'clock of the next day.
    void endTimeCrossesMidnight() {
        platform::Locale::set(QLocale(QStringLiteral("de_DE")));
        TimeEntry e;
        e.client = QStringLiteral("Night");
        e.date = test::at(2026, 12, 3, 22, 30, 1);
        e.duration = 200;
        e.breakTime = 50;
        e.modified = e.date;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setFieldOrder(QStringLiteral("9h"));
        layout.setFieldMask((1u << ReportLayout::StartTime) | (1u << ReportLayout::EndTime));
        const QString text = page(layout, december());
        platform::Locale::set(QLocale(QStringLiteral("en_US")));
        QVERIFY2(text.contains(QStringLiteral("<td class=\"Data\">22:30</td>\r\n"
                                              "<td class=\"Data\">01:00</td>")),
                 qPrintable(text));
    }

    // The invoice's total row: "Total", the hours under Duration, the
    // amount under Amount, a space in every other cell.
    void invoiceTotalRow() {
        addEntry(QStringLiteral("A"), test::at(2026, 12, 1), 150);
        addEntry(QStringLiteral("A"), test::at(2026, 12, 2), 125);
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Invoice);
        layout.setFieldOrder(QStringLiteral("05f2"));
        layout.setFieldMask((1u << 0) | (1u << 5) | (1u << 15) | (1u << 2));
        const QString text = page(layout, december());
        QVERIFY2(text.contains(QStringLiteral("<tr>\r\n<td class=\"Data\">Total</td>\r\n"
                                              "<td align=\"right\" class=\"Data\">2.75h</td>\r\n"
                                              "<td align=\"right\" class=\"Data\">27.50</td>\r\n"
                                              "<td class=\"Data\"> </td>\r\n</tr>\r\n")),
                 qPrintable(text));
        // No owner block without an owner; an empty invoice has no table.
        QVERIFY(!text.contains(QStringLiteral("cellspacing")));
        EntryFilter none = december();
        none.client = QStringLiteral("nobody");
        QVERIFY(!page(layout, none).contains(QStringLiteral("<table")));
    }

    // A typed address keeps its lines (a blank line at its end goes), with
    // the invoice number beside its first line.
    void ownerAddressKeepsItsLines() {
        addEntry(QStringLiteral("A"), test::at(2026, 12, 1), 100);
        Settings& settings = m_env->settings();
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner = {QStringLiteral("Ann Smith"), QString(),
                          QStringLiteral("12 Quai Perrache\r\n69002 Lyon\n"), QString(), QString()};
        const QString text = page(ReportLayout::builtInDefault(ReportLayout::Invoice), december());
        QVERIFY2(text.contains(QStringLiteral("<tr>\r\n<td valign=\"top\">\r\n"
                                              "<span>12 Quai Perrache</span>\r\n<br />\r\n"
                                              "<span>69002 Lyon</span>\r\n</td>\r\n"
                                              "<td valign=\"top\">Invoice Number: -</td>\r\n"
                                              "</tr>")),
                 qPrintable(text));
    }

    // What a client adds up: per currency, the amounts printed on the lines
    // (Non Billable ones have none) make the total row, and the footer's
    // amounts are per currency too.
    void totalsAreTheLinesShown_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("footer");
        const QStringList footer = {
            "Total Billable Hours: 3.49h",    "Total Unpaid Amount: EUR 112.89",
            "Total Unpaid Amount: JPY 84.99", "Total Billed Amount: EUR 0.00",
            "Total Billed Amount: JPY 84.99", "Total Paid Amount: EUR 10.50",
            "Total Paid Amount: JPY 0.00",    "Total Non-Billable Hours: 2.00h"};
        QTest::newRow("tabular") << int(ReportLayout::Tabular) << footer;
        QTest::newRow("group-by") << int(ReportLayout::GroupBy) << footer;
        QTest::newRow("invoice") << int(ReportLayout::Invoice) << QStringList();
    }
    void totalsAreTheLinesShown() {
        QFETCH(int, kind);
        QFETCH(QStringList, footer);
        addMonthEnd();
        ReportLayout layout = ReportLayout::builtInDefault(kind);
        layout.setFieldOrder(QStringLiteral("065f"));
        layout.setFieldMask((1u << 0) | (1u << 6) | (1u << 5) | (1u << 15));
        const QString text = page(layout, december());
        const QList<QStringList> rows = test::readReportRowsWithPython(saved(text));
        QCOMPARE(rows.value(0), (QStringList{"Entry Date", "Currency", "Duration", "Amount"}));
        QMap<QString, qint64> shown;  // cents by currency, as printed
        for (const QStringList& row : rows.mid(1, 8)) {
            if (!row.value(3).isEmpty())
                shown[row.value(1)] += row.value(3).remove(u'.').toLongLong();
        }
        QCOMPARE(shown, (QMap<QString, qint64>{{"EUR", 3 * 3763 + 1050}, {"JPY", 3 * 2833}}));
        QCOMPARE(totalRows(rows), (QList<QStringList>{{"Total", " ", "5.49h", "EUR 123.39"},
                                                      {"Total", " ", " ", "JPY 84.99"}}));
        for (const QString& span : footer)
            QVERIFY2(text.contains(QStringLiteral("<span>") + span + QStringLiteral("</span>")),
                     qPrintable(span));
    }

    // In hours and minutes each line shows its whole minutes (0.33 h is
    // 0:20), and the total row and the footer are the sums of the minutes
    // printed: 5:30, where the hundredths' total of 5.49 h would read 5:29.
    void hoursAndMinutesAddUp() {
        addMonthEnd();
        m_env->settings().hoursFormat = HoursFormat::HoursMinutes;
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setFieldOrder(QStringLiteral("05"));
        layout.setFieldMask((1u << 0) | (1u << 5));
        const QString text = page(layout, december());
        const QList<QStringList> rows = test::readReportRowsWithPython(saved(text));
        QCOMPARE(rows.size(), 10);
        int minutes = 0;
        for (const QStringList& row : rows.mid(1, 8)) {
            const QStringList parts = row.value(1).split(u':');
            QCOMPARE(parts.size(), 2);
            minutes += parts[0].toInt() * 60 + parts[1].toInt();
        }
        QCOMPARE(minutes, 330);
        QCOMPARE(rows.last(), (QStringList{"Total", "5:30"}));
        for (const char* span : {"Total Billable Hours: 3:30", "Total Non-Billable Hours: 2:00"})
            QVERIFY2(text.contains(QStringLiteral("<span>%1</span>").arg(QLatin1String(span))),
                     span);
    }

    // A note's own lines stay lines in the page.
    void noteKeepsItsLines() {
        QVERIFY(test::fillReportSample(m_env->store()));
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setFieldOrder(QStringLiteral("1g"));
        layout.setFieldMask((1u << 1) | (1u << 16));
        const QString text = page(layout, december());
        QVERIFY2(text.contains(QStringLiteral("<td class=\"Data\">\r\n<span>Line one</span>\r\n"
                                              "<br />\r\n<span>says ]]&gt; here</span>\r\n</td>")),
                 qPrintable(text));
        QCOMPARE(test::xmllintErrors(saved(text), true), QByteArray());
    }

    // Duration or Amount as the first column keeps its total beside "Total".
    void firstColumnKeepsItsTotal_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QList<QStringList>>("totals");
        QTest::newRow("duration first")
            << "5f0"
            << QList<QStringList>{{"Total 5.49h", "EUR 123.39", " "}, {"Total", "JPY 84.99", " "}};
        QTest::newRow("amount first") << "f50"
                                      << QList<QStringList>{{"Total EUR 123.39", "5.49h", " "},
                                                            {"Total JPY 84.99", " ", " "}};
    }
    void firstColumnKeepsItsTotal() {
        QFETCH(QString, order);
        QFETCH(QList<QStringList>, totals);
        addMonthEnd();
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setFieldOrder(order);
        layout.setFieldMask((1u << 0) | (1u << 5) | (1u << 15));
        const QString path = saved(page(layout, december()));
        QCOMPARE(totalRows(test::readReportRowsWithPython(path)), totals);
        QCOMPARE(test::xmllintErrors(path, true), QByteArray());
    }

    // A layout that shows no field still gives rows, each empty.
    void noFieldShown() {
        addEntry(QStringLiteral("A"), test::at(2026, 12, 1));
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        layout.setFieldMask(0);
        const QString text = page(layout, december());
        QCOMPARE(text.count(QStringLiteral("<tr></tr>")), 2);  // header and entry
        QCOMPARE(test::xmllintErrors(saved(text), true), QByteArray());
    }

    // The layout's own type decides the writer: a Group By layout loaded in
    // the Tabular dialog writes a Group By page.
    void layoutTypeChoosesWriter() {
        addEntry(QStringLiteral("A"), test::at(2026, 12, 1));
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::GroupBy);
        QVERIFY(page(layout, december()).contains(QStringLiteral("<h3>A</h3>")));
        layout.setReportType(ReportLayout::GeneralExpense);
        QVERIFY(!HtmlReport::make(layout, m_env->settings()));
    }
};

TEMPOLATCH_TEST(HtmlReportTest);
#include "HtmlReportTest.moc"
