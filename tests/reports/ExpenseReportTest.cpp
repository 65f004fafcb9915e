#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "reports/ExpenseReport.h"
#include "reports/LayoutRows.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Settings.h"
#include "store/ExpenseEntry.h"

using namespace tempolatch;

Q_DECLARE_METATYPE(tempolatch::ExpenseCriteria)

class ExpenseReportTest : public test::EnvironmentTest {
    Q_OBJECT

    static ExpenseCriteria days(int fromMonth, int fromDay, int toMonth, int toDay) {
        ExpenseCriteria choice;
        choice.from = test::at(2026, fromMonth, fromDay);
        choice.to = test::at(2026, toMonth, toDay, 23, 59, 59);
        return choice;
    }
    static ExpenseCriteria march() { return days(3, 1, 3, 31); }
    QString page(const ReportLayout& layout, const ExpenseCriteria& choice) {
        const auto report = ExpenseReport::make(layout, m_env->settings());
        return report ? report->page(m_env->store(), choice, QStringLiteral("UTF-8")) : QString();
    }
    QString saved(const QString& text) {
        const QString path = m_env->filePath(QStringLiteral("expenses.html"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
        return path;
    }
    // The text of a cell of the report's table as an HTML reader sees it
    // (row 1 is the header).
    static QString cell(const QString& path, int row, int column) {
        QString text = QString::fromUtf8(
            test::runTool(QStringLiteral("xmllint"),
                          {QStringLiteral("--html"), QStringLiteral("--xpath"),
                           QStringLiteral("string(//table[@class='Data']/tr[%1]/td[%2])")
                               .arg(row)
                               .arg(column),
                           path})
                .out);
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text;
    }
    void withOwner() {
        Settings& settings = m_env->settings();
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner = {QStringLiteral("Ann Smith"), QStringLiteral("Smith & Co"),
                          QStringLiteral("1 Main St"), QStringLiteral("VAT 123"),
                          QStringLiteral("ann@example.com")};
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillExpenseSample(m_env->store()));
        m_env->settings().expenseCustom1 = QStringLiteral("Job <no>");
        m_env->settings().expenseCustom2 = QStringLiteral("Trip");
    }

    // The built-in layouts of the two expense kinds, byte by byte where it
    // matters: titles, orders, masks, only Report Date among the flags.
    void defaults_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("order");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("mileage") << int(ReportLayout::MileageExpense) << "Mileage Expense Report"
                                 << "01234g578f9abcdehijklmnopqrst6" << 111027u
                                 << QList<int>{0, 1, 4, 16, 5, 7, 8, 15, 12, 13};
        QTest::newRow("general") << int(ReportLayout::GeneralExpense) << "General Expense Report"
                                 << "0123678f9abcdehijklmnopqrst45g" << 46531u
                                 << QList<int>{0, 1, 6, 7, 8, 15, 10, 12, 13};
    }
    void defaults() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, order);
        QFETCH(quint32, mask);
        QFETCH(QList<int>, columns);
        const ReportLayout layout = ReportLayout::builtInDefault(kind);
        QCOMPARE(layout.version(), quint16(300));
        QCOMPARE(layout.reportType(), quint16(kind));
        QCOMPARE(layout.title(), title);
        QCOMPARE(layout.fieldOrder(), order);
        QCOMPARE(layout.fieldMask(), mask);
        QCOMPARE(layout.columns(), columns);
        QCOMPARE(layout.dateSelection(), quint16(0));
        QCOMPARE(layout.groupBy(), 0u);
        const QByteArray bytes = layout.toBytes();
        QCOMPARE(bytes.mid(140, 12), QByteArray(12, '\0'));
        QCOMPARE(bytes.mid(152, 4), QByteArray(4, '\1'));
        // The dialog lists the header, the title, the detail area, every
        // field of the type, the footer and Report Date.
        const QList<LayoutRow> rows = layoutRows(layout, kind);
        QCOMPARE(rows.size(), 3 + layout.fieldCount() + 2);
        QCOMPARE(rows[1].text, title);
        QCOMPARE(rows[3].label, QStringLiteral("Entry Date"));
        QCOMPARE(rows[4].label, QStringLiteral("Description"));
        QCOMPARE(rows.last().label, QStringLiteral("Report Date"));
        // Collected back unchanged but for the order's tail.
        ReportLayout back = layout;
        collectLayout(rows, back);
        QCOMPARE(back.columns(), columns);
        QCOMPARE(back.fieldOrder(), order.left(layout.fieldCount()));
    }

    // A saved expense layout whose order lacks fields of its type gets them
    // back among the codes that count; a complete one is left alone.
    void shortOrderIsCompleted() {
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::GeneralExpense);
        layout.setFieldOrder(QStringLiteral("f0hij"));
        layout.completeFieldOrder();
        QCOMPARE(layout.fieldOrder(), QStringLiteral("f01236789abcdehij"));
        QCOMPARE(layoutRows(layout, ReportLayout::GeneralExpense).size(), 3 + 14 + 2);
        layout = ReportLayout::builtInDefault(ReportLayout::MileageExpense);
        layout.completeFieldOrder();
        QCOMPARE(layout.fieldOrder(), QStringLiteral("01234g578f9abcdehijklmnopqrst6"));
    }

    // Each kind with every field shown over the March sample: the whole page
    // as expected, read by xmllint, the general report's Rate equal to its
    // Amount, receipts as Y/N, the mileage amounts and totals.
    void pages_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("mileage") << int(ReportLayout::MileageExpense);
        QTest::newRow("general") << int(ReportLayout::GeneralExpense);
    }
    void pages() {
        QFETCH(int, kind);
        withOwner();
        ReportLayout layout = ReportLayout::builtInDefault(kind);
        layout.setFieldMask((1u << ReportLayout::ExpenseFields) - 1);
        const QString text = page(layout, march());
        test::compareWithGolden(text.toUtf8(),
                                QStringLiteral("reports/report-expense-%1.html")
                                    .arg(QString::fromLatin1(QTest::currentDataTag())));
        const QString path = saved(text);
        QCOMPARE(test::xmllintErrors(path, true), QByteArray());
        // The owner block has no invoice number beside the address.
        QVERIFY(text.contains(QStringLiteral("<td>1 Main St</td>\r\n<td></td>")));
        QCOMPARE(text.count(QStringLiteral("<h2>Bill To</h2>")), 1);
        if (kind == ReportLayout::GeneralExpense) {
            // Columns: date, description, client, project, category,
            // currency, rate, amount, status, receipt, ...
            for (const int row : {2, 3})
                QCOMPARE(cell(path, row, 7), cell(path, row, 8));
            QCOMPARE(cell(path, 2, 7), QStringLiteral("42.50"));
            QCOMPARE(cell(path, 2, 10), QStringLiteral("Y"));
            QCOMPARE(cell(path, 3, 10), QStringLiteral("N"));
            // A total row per currency: EUR 42.50 and USD 120.00 are never
            // added into one figure.
            QCOMPARE(cell(path, 4, 8), QStringLiteral("EUR 42.50"));
            QCOMPARE(cell(path, 5, 8), QStringLiteral("USD 120.00"));
            QCOMPARE(cell(path, 5, 1), QStringLiteral("Total"));
        } else {
            // Columns: date, description, client, project, start, end,
            // distance, currency, rate, amount, ...
            QCOMPARE(cell(path, 2, 5), QStringLiteral("1000"));
            QCOMPARE(cell(path, 2, 6), QStringLiteral("1025"));
            QCOMPARE(cell(path, 3, 7), QStringLiteral("120"));
            QCOMPARE(cell(path, 3, 9), QStringLiteral("0.35"));
            QCOMPARE(cell(path, 3, 10), QStringLiteral("42.00"));
            QCOMPARE(cell(path, 4, 1), QStringLiteral("Total"));
            QCOMPARE(cell(path, 4, 7), QStringLiteral("145.00"));
            QCOMPARE(cell(path, 4, 10), QStringLiteral("USD 50.75"));
            QCOMPARE(cell(path, 4, 9), QStringLiteral(" "));
        }
    }

    // Nothing of the report's type chosen (expenses only after the range,
    // only of the other type, or none the choice accepts): the title, the
    // owner block and the footer, without "Bill To" or a table.
    void emptyReports_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<ExpenseCriteria>("choice");
        QTest::newRow("before every expense")
            << int(ReportLayout::MileageExpense) << days(2, 1, 2, 28);
        QTest::newRow("only the other type")
            << int(ReportLayout::MileageExpense) << days(3, 4, 3, 4);
        ExpenseCriteria refused = march();
        refused.matches = [](const ExpenseEntry& e) {
            return e.client == QStringLiteral("Nobody");
        };
        QTest::newRow("none matches") << int(ReportLayout::MileageExpense) << refused;
    }
    void emptyReports() {
        QFETCH(int, kind);
        QFETCH(ExpenseCriteria, choice);
        withOwner();
        const QString text = page(ReportLayout::builtInDefault(kind), choice);
        test::compareWithGolden(text.toUtf8(), QStringLiteral("reports/report-expense-empty.html"));
        QCOMPARE(test::xmllintErrors(saved(text), true), QByteArray());
    }

    // The choice's predicate and range pick the rows; the totals follow.
    void choiceFilters() {
        ExpenseCriteria paidOnly = march();
        paidOnly.matches = [](const ExpenseEntry& e) { return e.status == EntryStatus::Paid; };
        const QString text =
            page(ReportLayout::builtInDefault(ReportLayout::MileageExpense), paidOnly);
        QVERIFY(!text.contains(QStringLiteral("Site visit")));
        QVERIFY(text.contains(QStringLiteral("<td align=\"right\" class=\"Data\">120.00</td>")));
        // Its Bill To paragraph is that of the first expense listed.
        QVERIFY(text.contains(
            QStringLiteral("<p>\r\n<span></span>\r\n<br />\r\n<span>Acme &amp; Sons</span>")));
        // Not an expense layout: no writer.
        QVERIFY(!ExpenseReport::make(ReportLayout::builtInDefault(ReportLayout::Tabular),
                                     m_env->settings()));
    }

    // As PDF: the report's texts as a PDF reader extracts them; an
    // unwritable file fails and leaves nothing.
    void pdfFile() {
        const QString path = m_env->filePath(QStringLiteral("miles.pdf"));
        QVERIFY(writeExpenseReportFile(m_env->store(), m_env->settings(),
                                       ReportLayout::builtInDefault(ReportLayout::MileageExpense),
                                       march(), path));
        QVERIFY(test::fileBytes(path).startsWith("%PDF"));
        const QString text =
            QString::fromUtf8(test::runTool(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), path, QStringLiteral("-")})
                                  .out);
        QVERIFY2(text.contains(QStringLiteral("Mileage Expense Report")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Bill To")));
        QVERIFY(text.contains(QStringLiteral("42.00")));
        QVERIFY(text.contains(QStringLiteral("145.00")));
        QVERIFY(text.contains(QStringLiteral("Report Date")));
        QVERIFY(!writeExpenseReportFile(m_env->store(), m_env->settings(),
                                        ReportLayout::builtInDefault(ReportLayout::GeneralExpense),
                                        march(),
                                        m_env->filePath(QStringLiteral("no/such/folder/r.html"))));
    }
};

TEMPOLATCH_TEST(ExpenseReportTest);
#include "ExpenseReportTest.moc"
