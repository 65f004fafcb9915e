#include <QBuffer>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>

#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "records/EntryFilter.h"
#include "reports/HtmlReport.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPdf.h"
#include "reports/ReportsTestSupport.h"
#include "settings/Settings.h"
#include "store/TimeEntries.h"

using namespace tempolatch;

namespace {

struct PdfWord {
    QString text;
    QRectF box;  // in points, from the page's top left
};

// The words of a PDF page as pdftotext places them.
QList<PdfWord> pdfWords(const QString& path, int page) {
    const QByteArray xhtml =
        test::runTool(QStringLiteral("pdftotext"),
                      {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                       QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")})
            .out;
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (const auto& m : word.globalMatch(QString::fromUtf8(xhtml))) {
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        // Ligatures ("fi") as their letters.
        words.append({m.captured(5).normalized(QString::NormalizationForm_KC),
                      QRectF(topLeft, bottomRight)});
    }
    return words;
}

QString pdfPageSize(const QString& path) {
    const QByteArray info = test::runTool(QStringLiteral("pdfinfo"), {path}).out;
    const qsizetype at = info.indexOf("Page size:");
    return at < 0 ? QString() : QString::fromUtf8(info.mid(at + 10).split('\n').first().trimmed());
}

}  // namespace

class ReportPdfTest : public test::EnvironmentTest {
    Q_OBJECT

    // The layout's page over the store's entries, written as a PDF file.
    QString writePdf(const ReportLayout& layout) {
        const QString html = HtmlReport::make(layout, m_env->settings())
                                 ->page(m_env->store(), EntryFilter(), QStringLiteral("UTF-8"));
        const QString path = m_env->filePath(QStringLiteral("report.pdf"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !writeReportPdf(html, file))
            return QString();
        return path;
    }

private Q_SLOTS:
    // A long Tabular report: a PDF of several US Letter pages (the en_US
    // locale), each numbered, the totals on the last.
    void longReport() {
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        for (int i = 0; i < 240; ++i) {
            TimeEntry e;
            e.date = test::at(2026, 11, 1 + i % 28, 8 + i % 9, 0, 1);
            e.client = QStringLiteral("Client %1").arg(i % 7);
            e.task = QStringLiteral("Task %1").arg(i);
            e.duration = 125;
            e.rate = 8000;
            e.status = EntryStatus::Billable;
            e.modified = e.date;
            QVERIFY(entries.add(e) == WriteResult::Written);
        }
        ReportLayout layout = ReportLayout::builtInDefault(ReportLayout::Tabular);
        const QString html = HtmlReport::make(layout, m_env->settings())
                                 ->page(m_env->store(), EntryFilter(), QStringLiteral("UTF-8"));
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(writeReportPdf(html, buffer));
        const QByteArray pdf = buffer.data();
        QVERIFY(pdf.startsWith("%PDF"));
        const QString path = m_env->filePath(QStringLiteral("report.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pdf);
        file.close();

        const QByteArray info = test::runTool(QStringLiteral("pdfinfo"), {path}).out;
        QVERIFY2(info.contains("Page size:       612 x 792 pts (letter)"), info.constData());
        const QByteArray pages = info.mid(info.indexOf("Pages:") + 6).split('\n').first().trimmed();
        QCOMPARE(pages, QByteArray("6"));
        const QString text =
            QString::fromUtf8(test::runTool(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), path, QStringLiteral("-")})
                                  .out);
        QVERIFY(text.contains(QStringLiteral("Total")));
        QVERIFY(text.contains(QStringLiteral("300.00h")));  // 240 x 1.25 h
        QVERIFY(text.contains(QStringLiteral("Total Billable Hours: 300.00h")));
        QVERIFY(text.contains(QStringLiteral("Total Unpaid Amount: 24000.00")));
        QVERIFY(text.contains(QStringLiteral("Page 1 of 6")));
        QVERIFY(text.contains(QStringLiteral("Page 6 of 6")));
        // Every entry's row is whole on one page: no task is cut in two.
        for (const int i : {0, 60, 239})
            QVERIFY(text.contains(QStringLiteral("Task %1 ").arg(i)) ||
                    text.contains(QStringLiteral("Task %1\n").arg(i)));
    }

    // A page reads as printed: table text of 9-10 pt whose words stay whole
    // (a table too wide for a portrait page turns the page), and a small
    // page number wholly inside the page.
    void printedType_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QStringList>("columnWords");
        QTest::addColumn<QString>("pageSize");
        QTest::addColumn<qreal>("smallestPoints");
        QTest::newRow("invoice") << int(ReportLayout::Invoice) << 0u
                                 << QStringList{QStringLiteral("Development"),
                                                QStringLiteral("Configuration"),
                                                QStringLiteral("Implementation")}
                                 << QStringLiteral("612 x 792 pts (letter)") << 9.0;
        QTest::newRow("every field")
            << int(ReportLayout::Tabular) << 0x3FFFFu
            << QStringList{QStringLiteral("Northwind"),     QStringLiteral("Development"),
                           QStringLiteral("Configuration"), QStringLiteral("Implementation"),
                           QStringLiteral("Accounts"),      QStringLiteral("Internationalisation"),
                           QStringLiteral("Maintenance")}
            << QStringLiteral("792 x 612 pts (letter)") << 6.0;
    }
    void printedType() {
        QFETCH(int, kind);
        QFETCH(quint32, mask);
        QFETCH(QStringList, columnWords);
        QFETCH(QString, pageSize);
        QFETCH(qreal, smallestPoints);
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        for (int i = 0; i < 6; ++i) {
            TimeEntry e;
            e.date = test::at(2026, 11, 2 + i, 9, 30, 1);
            e.client = QStringLiteral("Northwind");
            e.project = QStringLiteral("Development");
            e.phase = QStringLiteral("Configuration");
            e.task = QStringLiteral("Implementation");
            e.billTo = QStringLiteral("Accounts");
            e.custom1 = QStringLiteral("Internationalisation");
            e.custom2 = QStringLiteral("Maintenance");
            e.currency = QStringLiteral("EUR");
            e.duration = 750;
            e.rate = 12550;
            e.status = EntryStatus::Billable;
            e.modified = e.date;
            QVERIFY(entries.add(e) == WriteResult::Written);
        }
        ReportLayout layout = ReportLayout::builtInDefault(kind);
        if (mask)
            layout.setFieldMask(mask);
        const QString path = writePdf(layout);
        QVERIFY(!path.isEmpty());
        QCOMPARE(pdfPageSize(path), pageSize);
        const qreal pageHeight = pageSize.section(u' ', 2, 2).toDouble();
        const QList<PdfWord> words = pdfWords(path, 1);
        QVERIFY(!words.isEmpty());
        for (const QString& expected : columnWords) {
            const auto whole = std::count_if(words.begin(), words.end(),
                                             [&](const PdfWord& w) { return w.text == expected; });
            QVERIFY2(whole >= 6, qPrintable(expected));  // one in each row
        }
        // No piece of a word stands on its own line.
        for (const PdfWord& w : words) {
            for (const QString& whole : columnWords)
                QVERIFY2(w.text == whole || w.text.size() < 3 || !whole.contains(w.text),
                         qPrintable(w.text));
        }
        for (const PdfWord& w : words) {
            if (w.text == QLatin1String("Implementation")) {
                // A line of type is about 1.16 times its size from ascent
                // to descent: 11.6 pt for 10 pt.
                QVERIFY2(w.box.height() > smallestPoints * 1.1 && w.box.height() < 12.5,
                         qPrintable(QString::number(w.box.height())));
            }
        }
        const auto page = std::find_if(words.begin(), words.end(), [](const PdfWord& w) {
            return w.text == QLatin1String("Page");
        });
        QVERIFY(page != words.end());
        QVERIFY2(page->box.height() < 12, qPrintable(QString::number(page->box.height())));
        // Inside the bottom margin of 15 mm.
        QVERIFY(page->box.bottom() < pageHeight - 40);
        QStringList footer;
        for (auto w = page; w != words.end() && footer.size() < 4; ++w)
            footer.append(w->text);
        QCOMPARE(footer.join(u' '), QStringLiteral("Page 1 of 1"));
    }

    // The owner's address keeps its lines, and the invoice's Bill To stands
    // clearly apart from the owner block's last line.
    void ownerBlockLines() {
        QVERIFY(m_env->store().openAll());
        Settings& settings = m_env->settings();
        settings.setFlag(OwnerBlockOnInvoices, true);
        settings.owner = {QStringLiteral("Ann Smith"), QStringLiteral("Smith & Co"),
                          QStringLiteral("12 Quai Perrache\r\n69002 Lyon"),
                          QStringLiteral("VAT FR12345"), QStringLiteral("IBAN FR76")};
        TimeEntry e;
        e.date = test::at(2026, 11, 2, 9, 0, 0);
        e.client = QStringLiteral("Globex");
        e.billTo = QStringLiteral("Hank Scorpio");
        e.duration = 100;
        e.rate = 5000;
        e.status = EntryStatus::Billable;
        QVERIFY(TimeEntries(m_env->store()).add(e) == WriteResult::Written);
        const QString path = writePdf(ReportLayout::builtInDefault(ReportLayout::Invoice));

        const QList<PdfWord> words = pdfWords(path, 1);
        const auto find = [&](const QString& text) {
            const auto it = std::find_if(words.begin(), words.end(),
                                         [&](const PdfWord& w) { return w.text == text; });
            return it == words.end() ? QRectF() : it->box;
        };
        const QRectF street = find(QStringLiteral("Quai"));
        const QRectF town = find(QStringLiteral("Lyon"));
        QVERIFY(!street.isNull() && !town.isNull());
        QVERIFY(town.top() >= street.bottom() - 1);  // a line of its own
        const QRectF lastOwnerLine = find(QStringLiteral("IBAN"));
        const QRectF billTo = find(QStringLiteral("Hank"));
        QVERIFY(!lastOwnerLine.isNull() && !billTo.isNull());
        // At least a blank line between them.
        QVERIFY2(billTo.top() - lastOwnerLine.bottom() >= lastOwnerLine.height(),
                 qPrintable(QString::number(billTo.top() - lastOwnerLine.bottom())));
    }

    // A report over many pages: every row once, whole, on one page, with
    // the table's header above it on each page, and the pages numbered;
    // the rows' hours read back add up to what was recorded. A Group By
    // report's many tables keep their own columns.
    void rowsOverPages_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("tabular") << int(ReportLayout::Tabular);
        QTest::newRow("group by") << int(ReportLayout::GroupBy);
    }
    void rowsOverPages() {
        QFETCH(int, kind);
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store());
        constexpr int kRows = 300;
        qint64 hundredths = 0;
        for (int i = 0; i < kRows; ++i) {
            TimeEntry e;
            e.date = test::at(2026, 1 + i % 12, 1 + i % 28, 8, 0, 1);
            e.client = QStringLiteral("Client %1").arg(i % 4);
            e.task = QStringLiteral("T%1").arg(i);
            e.duration = 25 * (1 + i % 8);
            e.rate = 8000;
            e.status = EntryStatus::Billable;
            e.modified = e.date;
            hundredths += e.duration;
            QVERIFY(entries.add(e) == WriteResult::Written);
        }
        const QString path = writePdf(ReportLayout::builtInDefault(kind));
        QVERIFY(!path.isEmpty());
        const QByteArray info = test::runTool(QStringLiteral("pdfinfo"), {path}).out;
        const int pages =
            info.mid(info.indexOf("Pages:") + 6).split('\n').first().trimmed().toInt();
        QVERIFY2(pages >= 4, info.constData());

        static const QRegularExpression task(QStringLiteral("^T(\\d+)$"));
        static const QRegularExpression hours(QStringLiteral("^(\\d+)\\.(\\d\\d)h$"));
        QList<int> seen(kRows, 0);
        qint64 rowHundredths = 0;
        for (int page = 1; page <= pages; ++page) {
            const QList<PdfWord> words = pdfWords(path, page);
            qreal firstTask = 1e9;
            qreal firstCaption = 1e9;
            for (const PdfWord& w : words) {
                const auto m = task.match(w.text);
                if (w.text == QLatin1String("Task"))
                    firstCaption = std::min(firstCaption, w.box.top());
                if (!m.hasMatch())
                    continue;
                ++seen[m.captured(1).toInt()];
                firstTask = std::min(firstTask, w.box.top());
                for (const PdfWord& cell : words) {
                    const auto h = hours.match(cell.text);
                    if (h.hasMatch() && qAbs(cell.box.top() - w.box.top()) < 2)
                        rowHundredths += h.captured(1).toInt() * 100 + h.captured(2).toInt();
                }
            }
            QVERIFY2(firstCaption < firstTask, qPrintable(QString::number(page)));
            QStringList footer;
            for (qsizetype i = words.size() - 4; i >= 0 && i < words.size(); ++i)
                footer.append(words[i].text);
            QCOMPARE(footer.join(u' '), QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        }
        QCOMPARE(seen, QList<int>(kRows, 1));
        QCOMPARE(rowHundredths, hundredths);
    }

    void pdfPaths() {
        QVERIFY(isPdfPath(QStringLiteral("a/report.PDF")));
        QVERIFY(!isPdfPath(QStringLiteral("report.pdf.html")));
    }
};

TEMPOLATCH_TEST(ReportPdfTest);
#include "ReportPdfTest.moc"
