#include <QImage>
#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestFiles.h"
#include "common/TestRegistry.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "records/EntryFilter.h"
#include "reports/HtmlReport.h"
#include "reports/ReportFiles.h"
#include "reports/ReportLayout.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "settings/InvoiceNumbers.h"
#include "settings/Settings.h"
#include "store/Expenses.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

// What an invoice carries beyond the table of its entries: its number,
// dates and taxes.
class InvoiceTest : public test::EnvironmentTest {
    Q_OBJECT

    platform::Registry& registry() { return m_env->registry(); }

    // The invoice of the sample's entries, with the owner block (where the
    // number stands) on.
    bool writeInvoice(const ReportLayout& layout, const QString& path,
                      const QString& number = QString(), QString* printed = nullptr) {
        Settings& settings = m_env->settings();
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner.name = QStringLiteral("Ann Smith");
        WrittenInvoice written;
        const bool ok =
            writeReportFile(m_env->context(), layout, EntryFilter(), path, {number}, &written);
        if (printed)
            *printed = written.number;
        return ok;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillReportSample(m_env->store()));
    }

    // The sequence fills a number the layout leaves open and moves on only
    // when the file was written; a number given, or the layout's own,
    // leaves it alone.
    void numbering_data() {
        QTest::addColumn<quint32>("next");
        QTest::addColumn<QString>("layoutNumber");
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<quint32>("nextAfter");
        QTest::newRow("no sequence") << 0u << "-"
                                     << "" << true << "" << 0u;
        QTest::newRow("sequence") << 118u << "-"
                                  << "" << true << "INV-2026-118" << 119u;
        QTest::newRow("sequence, empty number") << 7u << ""
                                                << "" << true << "INV-2026-7" << 8u;
        QTest::newRow("number given") << 118u << "-"
                                      << "X/9" << true << "X/9" << 118u;
        QTest::newRow("layout's own") << 118u << "A-1"
                                      << "" << true << "A-1" << 118u;
        QTest::newRow("not written") << 118u << "-"
                                     << "" << false << "INV-2026-118" << 118u;
    }
    void numbering() {
        QFETCH(quint32, next);
        QFETCH(QString, layoutNumber);
        QFETCH(QString, given);
        QFETCH(bool, writable);
        QFETCH(QString, printed);
        QFETCH(quint32, nextAfter);
        QVERIFY(invoicenumbers::setNext(registry(), next));
        m_env->settings().invoice.numberPrefix = QStringLiteral("INV-2026-");
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Invoice);
        layout.setInvoiceNumber(layoutNumber);
        const QString path = m_env->filePath(writable ? QStringLiteral("invoice.html")
                                                      : QStringLiteral("no/folder/invoice.html"));
        QString number;
        QCOMPARE(writeInvoice(layout, path, given, &number), writable);
        QCOMPARE(number, printed);
        QCOMPARE(invoicenumbers::next(registry()), nextAfter);
        if (writable)
            QVERIFY(test::fileBytes(path).contains(
                "Invoice Number: " + (printed.isEmpty() ? QByteArray("-") : printed.toUtf8())));
    }

    // The page is titled "Invoice"; under the heading stand the due date
    // (payment terms in Options) and the period billed, and the number and
    // the issue date when no owner block carries them.
    void heading_data() {
        QTest::addColumn<bool>("owner");
        QTest::addColumn<quint32>("paymentDays");
        QTest::addColumn<bool>("range");
        QTest::addColumn<QStringList>("facts");
        QTest::newRow("owner block, nothing more") << true << 0u << false << QStringList();
        QTest::newRow("owner block, terms, period")
            << true << 30u << true << QStringList{"Due Date: 1/6/27", "Period: 12/1/26 - 12/31/26"};
        QTest::newRow("no owner block")
            << false << 0u << false << QStringList{"Invoice Number: INV-7", "Date: 12/7/26"};
    }
    void heading() {
        QFETCH(bool, owner);
        QFETCH(quint32, paymentDays);
        QFETCH(bool, range);
        QFETCH(QStringList, facts);
        Settings& settings = m_env->settings();
        settings.setFlag(OwnerBlockOnInvoices, owner);
        settings.owner.name = QStringLiteral("Ann Smith");
        settings.invoice.paymentDays = paymentDays;
        EntryFilter criteria;
        if (range) {
            criteria.startDate = test::day(2026, 12, 1);
            criteria.endDate = test::day(2026, 12, 31);
        }
        const QString page = HtmlReport::make(ReportLayout::builtInDefault(ReportLayout::Invoice),
                                              settings, {QStringLiteral("INV-7")})
                                 ->page(m_env->store(), criteria, QStringLiteral("UTF-8"));
        QVERIFY(page.contains(QStringLiteral("<title>Invoice</title>")));
        QString expected = QStringLiteral("<h1>Invoice</h1>\r\n");
        if (!facts.isEmpty())
            expected += QStringLiteral("<p>\r\n<span>") +
                        facts.join(QStringLiteral("</span>\r\n<br />\r\n<span>")) +
                        QStringLiteral("</span>\r\n</p>\r\n");
        // The Bill To paragraph follows.
        expected += QStringLiteral("<p>\r\n<span>Jane O'Roe</span>");
        QVERIFY2(page.contains(expected), qPrintable(page));
    }

    // An invoice of two currencies with two taxes: the whole page as
    // expected; read back by an outside parser, each currency's Net is the
    // sum of its amounts printed, each tax its rate of the Net to the cent
    // (half away from zero), and Total due the sum of the figures above it.
    void taxesPerCurrency() {
        QVERIFY(m_env->store().deleteAllData());
        TimeEntries entries(m_env->store());
        const auto add = [&](int day, const QString& currency, qint32 duration, qint32 rate,
                             EntryStatus status) {
            TimeEntry e;
            e.date = test::at(2026, 11, day, 9, 0, 1);
            e.modified = e.date;
            e.client = QStringLiteral("Globex");
            e.billTo = QStringLiteral("Hank Scorpio");
            e.task = QStringLiteral("Audit");
            e.currency = currency;
            e.duration = duration;
            e.rate = rate;
            e.status = status;
            QCOMPARE(entries.add(e), WriteResult::Written);
        };
        for (const int day : {2, 3, 4})
            add(day, QStringLiteral("EUR"), 50, 7525, EntryStatus::Billable);  // 37.625 each
        add(5, QStringLiteral("EUR"), 200, 7525, EntryStatus::NonBillable);
        add(6, QStringLiteral("JPY"), 100, 214600, EntryStatus::Billed);
        Settings& settings = m_env->settings();
        settings.invoice.taxes = {TaxLine{QStringLiteral("VAT"), 2000},
                                  TaxLine{QStringLiteral("Levy"), 770}};
        settings.invoice.note = QStringLiteral("Reverse charge: VAT due by the recipient.");
        EntryFilter november;
        november.startDate = test::day(2026, 11, 1);
        november.endDate = test::localTime(2026, 11, 30, 23, 59, 59);
        const QString path = m_env->filePath(QStringLiteral("invoice.html"));
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner.name = QStringLiteral("Ann Smith");
        QVERIFY(writeReportFile(m_env->context(),
                                ReportLayout::builtInDefault(ReportLayout::Invoice), november, path,
                                {QStringLiteral("INV-2026-118")}));
        test::compareWithGolden(test::fileBytes(path),
                                QStringLiteral("reports/report-invoice-taxes.html"));

        const QList<QStringList> rows = test::readReportRowsWithPython(path);
        QVERIFY(!rows.isEmpty());
        const qsizetype currencyColumn = rows.first().indexOf(QStringLiteral("Currency"));
        const qsizetype amountColumn = rows.first().indexOf(QStringLiteral("Amount"));
        QMap<QString, qint64> lines;
        qsizetype row = 1;
        for (; row < rows.size() && !rows[row].first().startsWith(QStringLiteral("Total")); ++row)
            lines[rows[row][currencyColumn]] += qRound64(rows[row][amountColumn].toDouble() * 100);
        QCOMPARE(lines, (QMap<QString, qint64>{{"EUR", 11289}, {"JPY", 214600}}));
        const auto cents = [](const QString& text) {
            return qRound64(text.section(u' ', 1).toDouble() * 100);
        };
        QStringList taxRows;
        for (const QString& currency : {QStringLiteral("EUR"), QStringLiteral("JPY")}) {
            while (row < rows.size() && rows[row].first() != QLatin1String("Net"))
                ++row;
            QVERIFY(row + 3 < rows.size());
            const qint64 net = cents(rows[row][1]);
            QCOMPARE(net, lines[currency]);
            const qint64 vat = cents(rows[row + 1][1]);
            const qint64 levy = cents(rows[row + 2][1]);
            QCOMPARE(vat, (net * 2000 + 5000) / 10000);
            QCOMPARE(levy, (net * 770 + 5000) / 10000);
            QCOMPARE(cents(rows[row + 3][1]), net + vat + levy);
            taxRows << rows[row + 1].join(u'|') << rows[row + 3].join(u'|');
            ++row;
        }
        QCOMPARE(taxRows, (QStringList{"VAT 20%|EUR 22.58", "Total due|EUR 144.16",
                                       "VAT 20%|JPY 429.20", "Total due|JPY 2740.44"}));
        QCOMPARE(test::xmllintErrors(path, true), QByteArray());

        // The same invoice as PDF carries the same figures and a whole footer.
        const QString pdf = m_env->filePath(QStringLiteral("invoice.pdf"));
        QVERIFY(writeReportFile(m_env->context(),
                                ReportLayout::builtInDefault(ReportLayout::Invoice), november, pdf,
                                {QStringLiteral("INV-2026-118")}));
        const QString text =
            QString::fromUtf8(test::runTool(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                                  .out);
        for (const char* expected : {"Total due", "EUR 144.16", "JPY 2740.44", "Page 1 of 1",
                                     "Invoice Number: INV-2026-118"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
    }

    // Time and expenses on one invoice, in two currencies with two taxes:
    // the whole page as expected, and read back by xmllint each table's
    // total, each currency's Time and Expenses, its Net and its Total due
    // are the sums of the lines printed above them. Only the chosen
    // client's Billable expenses of the period are taken in; the invoice
    // bills exactly the Billable entries and expenses it lists.
    void timeAndExpenses() {
        QVERIFY(m_env->store().deleteAllData());
        const auto sample = test::fillInvoiceSample(m_env->store());
        QVERIFY(sample);
        Settings& settings = m_env->settings();
        settings.invoice.taxes = {TaxLine{QStringLiteral("VAT"), 2000},
                                  TaxLine{QStringLiteral("Levy"), 770}};
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner.name = QStringLiteral("Ann Smith");
        const EntryFilter november = test::invoiceSampleCriteria();
        const QString path = m_env->filePath(QStringLiteral("invoice.html"));
        WrittenInvoice written;
        QVERIFY(writeReportFile(m_env->context(),
                                ReportLayout::builtInDefault(ReportLayout::Invoice), november, path,
                                {QStringLiteral("INV-2026-119"), true}, &written));
        test::compareWithGolden(test::fileBytes(path),
                                QStringLiteral("reports/report-invoice-expenses.html"));
        QCOMPARE(test::xmllintErrors(path, true), QByteArray());
        QCOMPARE(written.items.entries, sample->entries);
        QCOMPARE(written.items.expenses, sample->expenses);

        const auto xpath = [&](const QString& expression) {
            return QString::fromUtf8(test::runTool(QStringLiteral("xmllint"),
                                                   {QStringLiteral("--html"),
                                                    QStringLiteral("--xpath"), expression, path})
                                         .out.trimmed());
        };
        const auto cents = [](const QString& text) {
            return qRound64(text.section(u' ', -1).toDouble() * 100);
        };
        const QString timeTable = QStringLiteral("//table[@class='Data'][1]");
        const QString expenseTable =
            QStringLiteral("//h3[.='Expenses']/following-sibling::table[1]");
        const QString dueTable = QStringLiteral("//table[@class='Data'][last()]");
        for (const QString& currency : {QStringLiteral("EUR"), QStringLiteral("JPY")}) {
            // The lines of each table, as printed (a Non Billable line has no
            // amount), and its total row.
            const qint64 time =
                cents(xpath(QStringLiteral("sum(%1/tr[td[8]='%2' and td[10]!='']/td[10])")
                                .arg(timeTable, currency)));
            const qint64 spent = cents(
                xpath(QStringLiteral("sum(%1/tr[td[4]='%2']/td[5])").arg(expenseTable, currency)));
            QCOMPARE(cents(xpath(QStringLiteral("string(%1/tr[td[5][contains(., '%2 ')]]/td[5])")
                                     .arg(expenseTable, currency))),
                     spent);
            const auto due = [&](const char* label, int nth = 1) {
                return cents(xpath(QStringLiteral("string((%1/tr[td[1]='%2' and "
                                                  "contains(td[2], '%3 ')])[%4]/td[2])")
                                       .arg(dueTable, QLatin1String(label), currency)
                                       .arg(nth)));
            };
            QVERIFY(time > 0 && spent > 0);
            QCOMPARE(due("Time"), time);
            QCOMPARE(due("Expenses"), spent);
            const qint64 net = due("Net");
            QCOMPARE(net, time + spent);
            const qint64 vat = due("VAT 20%");
            const qint64 levy = due("Levy 7.7%");
            QCOMPARE(vat, (net * 2000 + 5000) / 10000);
            QCOMPARE(levy, (net * 770 + 5000) / 10000);
            QCOMPARE(due("Total due"), net + vat + levy);
        }
        QCOMPARE(xpath(QStringLiteral("string(%1/tr[td[1]='Total due'][1]/td[2])").arg(dueTable)),
                 QStringLiteral("EUR 195.32"));
    }

    // A logo stands above the owner block, its bytes in the page (a data:
    // URI), and as an image in the PDF; a file that is no image is no logo.
    void logo_data() {
        QTest::addColumn<bool>("image");
        QTest::newRow("png") << true;
        QTest::newRow("not an image") << false;
    }
    void logo() {
        QFETCH(bool, image);
        const QString logoPath = m_env->filePath(QStringLiteral("logo.png"));
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(image ? picture.save(logoPath, "PNG") : test::putFile(logoPath, "<p>no</p>"));
        m_env->settings().ownerLogo = logoPath;
        const QString html = m_env->filePath(QStringLiteral("invoice.html"));
        QVERIFY(writeInvoice(ReportLayout::builtInDefault(ReportLayout::Invoice), html));
        const QByteArray page = test::fileBytes(html);
        const QByteArray img = "<p>\r\n<img class=\"Logo\" src=\"data:image/png;base64," +
                               test::fileBytes(logoPath).toBase64() +
                               "\" alt=\"Logo\" height=\"64\" />\r\n</p>\r\n<table cellspacing";
        QCOMPARE(page.contains(img), image);
        QCOMPARE(page.contains("<img"), image);
        QCOMPARE(test::xmllintErrors(html, true), QByteArray());

        const QString pdf = m_env->filePath(QStringLiteral("invoice.pdf"));
        QVERIFY(writeInvoice(ReportLayout::builtInDefault(ReportLayout::Invoice), pdf));
        const QList<QByteArray> images =
            test::runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                .out.trimmed()
                .split('\n');
        QCOMPARE(images.size() - 2, image ? 1 : 0);  // below the two heading lines
    }

    // Two programs on one profile (a window and a script) never take the
    // same number; a number given back after another was taken stays unused.
    void numbersAreNeverTakenTwice() {
        platform::Registry other(platform::Profile::registryPath());
        QVERIFY(invoicenumbers::setNext(registry(), 5));
        QCOMPARE(invoicenumbers::take(registry()), 5u);
        QCOMPARE(invoicenumbers::take(other), 6u);
        invoicenumbers::giveBack(registry(), 5);
        QCOMPARE(invoicenumbers::next(other), 7u);
        invoicenumbers::giveBack(other, 6);
        QCOMPARE(invoicenumbers::take(registry()), 6u);
        // A report of another kind takes nothing.
        QVERIFY(writeInvoice(ReportLayout::builtInDefault(ReportLayout::Tabular),
                             m_env->filePath(QStringLiteral("tabular.html"))));
        QCOMPARE(invoicenumbers::next(registry()), 7u);
    }
};

TEMPOLATCH_TEST(InvoiceTest);
#include "InvoiceTest.moc"
