#include <QBuffer>
#include <QTest>

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

class ReportPdfTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:
    // A long Tabular report: a PDF of several US Letter pages (the en_US
    // locale), each numbered, the totals on the last.
    void longReport() {
        QVERIFY(m_env->store().openAll());
        TimeEntries entries(m_env->store().entries());
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
        const QString html =
            HtmlReport::make(layout, m_env->settings())
                ->page(m_env->store().entries(), EntryFilter(), QStringLiteral("UTF-8"));
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

    void pdfPaths() {
        QVERIFY(isPdfPath(QStringLiteral("a/report.PDF")));
        QVERIFY(!isPdfPath(QStringLiteral("report.pdf.html")));
    }
};

TEMPOLATCH_TEST(ReportPdfTest);
#include "ReportPdfTest.moc"
