#include <QTest>

#include "common/TestRegistry.h"
#include "reports/PageStream.h"

using namespace tempolatch;

namespace {

// The calls a report page makes: empty and void elements, data with
// children after it, attributes on the main and the child element, text and
// values to escape.
void buildPage(PageStream& doc, int rows) {
    doc.addElement(QStringLiteral("html"));
    doc.addAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/1999/xhtml"));
    doc.addChildElement(QStringLiteral("head"));
    doc.intoElement();
    doc.addChildElement(QStringLiteral("meta"));
    doc.addChildAttribute(QStringLiteral("content"), QStringLiteral("a \"b\" & c"));
    doc.addChildElement(QStringLiteral("title"));
    doc.outOfElement();
    doc.addChildElement(QStringLiteral("body"));
    doc.intoElement();
    doc.addChildElement(QStringLiteral("h1"), QStringLiteral("R&D <Q4>"));
    doc.addChildElement(QStringLiteral("p"), QStringLiteral("lead"));
    doc.intoElement();
    doc.addChildElement(QStringLiteral("span"), QStringLiteral("x"));
    doc.addChildElement(QStringLiteral("br"));
    doc.outOfElement();
    doc.addChildElement(QStringLiteral("table"));
    doc.addChildAttribute(QStringLiteral("class"), QStringLiteral("Data"));
    doc.intoElement();
    for (int i = 0; i < rows; ++i) {
        doc.addChildElement(QStringLiteral("tr"));
        doc.intoElement();
        doc.addChildElement(QStringLiteral("td"), QStringLiteral("row %1").arg(i));
        doc.addChildAttribute(QStringLiteral("align"), QStringLiteral("right"));
        doc.addChildElement(QStringLiteral("td"));
        doc.outOfElement();
    }
    doc.outOfElement();
    doc.addChildElement(QStringLiteral("hr"));
}

}  // namespace

class PageStreamTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each element on a line of its own, text and values escaped, void
    // elements closed in themselves, other empty ones with their end tag.
    void pageText() {
        PageStream stream;
        buildPage(stream, 3);
        QVERIFY(stream.finish());
        QStringList rows;
        for (int i = 0; i < 3; ++i)
            rows << QStringLiteral("<tr>|<td align=\"right\">row %1</td>|<td></td>|</tr>").arg(i);
        const QString expected =
            QStringLiteral(
                "<html xmlns=\"http://www.w3.org/1999/xhtml\">|<head>|"
                "<meta content=\"a &quot;b&quot; &amp; c\" />|<title></title>|</head>|<body>|"
                "<h1>R&amp;D &lt;Q4&gt;</h1>|<p>lead<span>x</span>|<br />|</p>|"
                "<table class=\"Data\">|") +
            rows.join(u'|') + QStringLiteral("|</table>|<hr />|</body>|</html>|");
        QCOMPARE(stream.text(), QString(expected).replace(u'|', QStringLiteral("\r\n")));
    }

    // A long page reaches the sink in several pieces of whole lines that
    // make up the same text; a sink that refuses a piece fails the page and
    // gets nothing more.
    void pieces() {
        PageStream whole;
        buildPage(whole, 5000);
        QVERIFY(whole.finish());

        QStringList pieces;
        PageStream stream([&](QStringView piece) {
            pieces.append(piece.toString());
            return true;
        });
        buildPage(stream, 5000);
        QVERIFY(stream.finish());
        QVERIFY(pieces.size() > 3);
        for (const QString& piece : pieces)
            QVERIFY(piece.endsWith(QLatin1String("\r\n")));
        QCOMPARE(pieces.join(QString()), whole.text());

        int calls = 0;
        PageStream refused([&](QStringView) {
            ++calls;
            return false;
        });
        buildPage(refused, 5000);
        QVERIFY(!refused.finish());
        QCOMPARE(calls, 1);
    }

    // What is written stays as written.
    void refusesChangesToWrittenElements() {
        PageStream stream;
        QVERIFY(!stream.addChildElement(QStringLiteral("p")));  // no main element yet
        QVERIFY(stream.addElement(QStringLiteral("html")));
        QVERIFY(!stream.addElement(QStringLiteral("second-root")));
        QVERIFY(!stream.outOfElement());
        QVERIFY(stream.addChildElement(QStringLiteral("body")));
        QVERIFY(stream.intoElement());
        QVERIFY(stream.addChildElement(QStringLiteral("p")));
        QVERIFY(stream.addChildElement(QStringLiteral("p")));  // writes the first
        QVERIFY(stream.outOfElement());
        QVERIFY(!stream.addChildAttribute(QStringLiteral("class"), QStringLiteral("x")));
        QVERIFY(!stream.intoElement());
        QVERIFY(!stream.addAttribute(QStringLiteral("class"), QStringLiteral("x")));
        QVERIFY(!stream.outOfElement());  // html is the root
        QVERIFY(stream.finish());
        QCOMPARE(
            stream.text(),
            QStringLiteral("<html>\r\n<body>\r\n<p></p>\r\n<p></p>\r\n</body>\r\n</html>\r\n"));
    }
};

TEMPOLATCH_TEST(PageStreamTest);
#include "PageStreamTest.moc"
