#include <QTest>

#include "common/TestRegistry.h"
#include "reports/PdfPageReader.h"

using namespace tempolatch;

namespace {

// What the reader handed over, as lines of text.
class Recorder : public PdfPageHandler {
public:
    QStringList events;
    void fragment(const QString& html) override { events.append(QStringLiteral("text ") + html); }
    void tableStart() override { events.append(QStringLiteral("table")); }
    void row(const PdfRow& row) override {
        QStringList cells;
        for (const PdfRow::Cell& cell : row.cells)
            cells.append(cell.text + (cell.right ? QStringLiteral(">") : QString()));
        events.append((row.header ? QStringLiteral("header ") : QStringLiteral("row ")) +
                      cells.join(u'|'));
    }
    void tableEnd() override { events.append(QStringLiteral("end")); }
};

const QString kPage = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\"><html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "<head>\r\n<style type=\"text/css\">p &gt; span { color : red; }</style>\r\n</head>\r\n"
    "<body>\r\n<h1>R&amp;D</h1>\r\n"
    "<table class=\"Data\">\r\n<tr>\r\n<th class=\"Data\">Date</th>\r\n<th>Hours</th>\r\n</tr>\r\n"
    "<tr>\r\n<td>1 Jan</td>\r\n<td align=\"right\">1.50h</td>\r\n</tr>\r\n"
    "<tr>\r\n<td>a  b<br />c</td>\r\n<td></td>\r\n</tr>\r\n</table>\r\n"
    "<table width=\"100%\">\r\n<tr>\r\n<td>Owner</td>\r\n</tr>\r\n</table>\r\n"
    "<table class=\"Data x\">\r\n<tr>\r\n<td>Net</td>\r\n</tr>\r\n</table>\r\n"
    "</body>\r\n</html>\r\n");

const QString kHead =
    QStringLiteral("<html><head><style type=\"text/css\">p > span { color : red; }</style></head>");

}  // namespace

class PdfPageReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Data tables come as rows (white space collapsed, line breaks kept, a
    // row of th cells the header); everything else, other tables too, as
    // HTML with the page's styles as they stand; in pieces of any size.
    void partsOfAPage_data() {
        QTest::addColumn<int>("piece");
        QTest::newRow("whole") << 0;
        QTest::newRow("seven characters at a time") << 7;
    }
    void partsOfAPage() {
        QFETCH(int, piece);
        Recorder recorder;
        PdfPageReader reader(recorder);
        for (qsizetype at = 0; at<kPage.size(); at += piece> 0 ? piece : kPage.size())
            QVERIFY(reader.addData(QStringView(kPage).mid(at, piece > 0 ? piece : kPage.size())));
        QVERIFY(reader.finished());
        const QStringList expected = {
            QStringLiteral("text ") + kHead +
                QStringLiteral("<body><h1>R&amp;D</h1></body></html>"),
            QStringLiteral("table"),
            QStringLiteral("header Date|Hours"),
            QStringLiteral("row 1 Jan|1.50h>"),
            QStringLiteral("row a b\nc|"),
            QStringLiteral("end"),
            QStringLiteral("text ") + kHead +
                QStringLiteral("<body><table width=\"100%\">\n<tr>\n<td>Owner</td>\n</tr>\n"
                               "</table></body></html>"),
            QStringLiteral("table"),
            QStringLiteral("row Net"),
            QStringLiteral("end")};
        QCOMPARE(recorder.events, expected);
    }

    void notAPageOfOurs() {
        Recorder recorder;
        PdfPageReader reader(recorder);
        QVERIFY(!reader.addData(u"<html><body><p>open</b></body></html>"));
        QVERIFY(!reader.finished());
    }
};

TEMPOLATCH_TEST(PdfPageReaderTest);
#include "PdfPageReaderTest.moc"
