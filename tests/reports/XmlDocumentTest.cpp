#include <QTemporaryDir>
#include <QTest>

#include "common/TestRegistry.h"
#include "reports/ReportsTestSupport.h"
#include "reports/XmlDocument.h"
#include "reports/XmlWriter.h"

using namespace tempolatch;

class XmlDocumentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writerPieces() {
        XmlWriter w;
        w.declaration(QString());
        w.declaration(QStringLiteral("UTF-8"));
        w.openStartTag(QStringLiteral("ITEM"));
        w.attribute(QStringLiteral("Status"), QStringLiteral("2"));
        w.closeStartTag();
        w.element(QStringLiteral("CLIENT"), QStringLiteral("a<b"));
        w.element(QStringLiteral("TASK"), QStringLiteral("R&D"));
        w.element(QStringLiteral("PHASE"), QString(""));
        w.element(QStringLiteral("RATE"), std::nullopt);
        w.openElement(QStringLiteral("NOTES"));
        w.cdata(QStringLiteral("x]]>y"));
        w.endTag(QStringLiteral("NOTES"));
        QCOMPARE(w.text(), QStringLiteral("<?xml version=\"1.0\" ?>\r\n"
                                          "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<ITEM Status=\"2\">\r\n"
                                          "<CLIENT>a&lt;b</CLIENT>\r\n"
                                          "<TASK>R&amp;D</TASK>\r\n"
                                          "<PHASE></PHASE>\r\n"
                                          "<RATE />\r\n"
                                          "<NOTES>\r\n"
                                          "<![CDATA[\r\nx]]]]><![CDATA[>y\r\n]]>\r\n"
                                          "</NOTES>\r\n"));
    }

    // Each character is escaped once; what XML cannot hold is dropped.
    void escaping_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("forText");
        QTest::addColumn<QString>("forAttribute");
        QTest::newRow("markup")
            << QStringLiteral("<a href=\"x\">'&amp;'</a>")
            << QStringLiteral("&lt;a href=\"x\"&gt;'&amp;amp;'&lt;/a&gt;")
            << QStringLiteral("&lt;a href=&quot;x&quot;&gt;&apos;&amp;amp;&apos;&lt;/a&gt;");
        QTest::newRow("controls") << QStringLiteral("a\x01\tb\r\nc\x1f\x7f")
                                  << QStringLiteral("a\tb\r\nc\x7f")
                                  << QStringLiteral("a\tb\r\nc\x7f");
        const QString pair = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("surrogates") << (pair + QChar(0xD800) + QStringLiteral("x") + QChar(0xDC00) +
                                        QChar(0xFFFE) + QChar(0xFFFD))
                                    << (pair + QStringLiteral("x") + QChar(0xFFFD))
                                    << (pair + QStringLiteral("x") + QChar(0xFFFD));
    }
    void escaping() {
        QFETCH(QString, value);
        QFETCH(QString, forText);
        QFETCH(QString, forAttribute);
        QCOMPARE(XmlWriter::escape(value), forAttribute);
        XmlDocument doc;
        QVERIFY(doc.addElement(QStringLiteral("p"), value));
        QVERIFY(doc.addAttribute(QStringLiteral("v"), value));
        QCOMPARE(doc.documentText(),
                 QStringLiteral("<p v=\"%1\">%2</p>\r\n").arg(forAttribute, forText));
    }

    // "<p/>" grows into a start and end tag around its first child; a later
    // child goes after the child position, the rest before the end tag.
    void childrenAndPositions() {
        XmlDocument doc;
        QVERIFY(!doc.addChildElement(QStringLiteral("x")));  // no main element yet
        QVERIFY(doc.addElement(QStringLiteral("html")));
        QVERIFY(!doc.addElement(QStringLiteral("second")));  // one root
        QVERIFY(doc.addChildElement(QStringLiteral("p")));
        QCOMPARE(doc.documentText(), QStringLiteral("<html>\r\n<p/>\r\n</html>\r\n"));
        QVERIFY(doc.intoElement());
        QCOMPARE(doc.depth(), 2);
        QVERIFY(doc.addChildElement(QStringLiteral("span"), QStringLiteral("a")));
        QVERIFY(doc.addChildAttribute(QStringLiteral("class"), QStringLiteral("c")));
        QVERIFY(doc.addChildElement(QStringLiteral("br")));
        QCOMPARE(doc.documentText(),
                 QStringLiteral("<html>\r\n<p>\r\n<span class=\"c\">a</span>\r\n"
                                "<br/>\r\n</p>\r\n</html>\r\n"));
        // Back at the first child, a new child goes right after it.
        QVERIFY(doc.findChildElement(QString()) == false);  // br was the last
        QVERIFY(doc.outOfElement());
        QCOMPARE(doc.tagName(doc.childPosition()), QStringLiteral("p"));
        QVERIFY(!doc.outOfElement());  // top level
        QVERIFY(doc.intoElement());    // the child position: p
        QVERIFY(doc.findChildElement(QStringLiteral("span")));
        QVERIFY(doc.addChildElement(QStringLiteral("i")));
        QVERIFY(doc.addAttribute(QStringLiteral("id"), QStringLiteral("1")));
        // A sibling of p inside html, after p.
        QVERIFY(doc.addElement(QStringLiteral("h2"), QStringLiteral("x")));
        const QString text = doc.documentText();
        QCOMPARE(text,
                 QStringLiteral("<html>\r\n<p id=\"1\">\r\n<span class=\"c\">a</span>\r\n<i/>\r\n"
                                "<br/>\r\n</p>\r\n<h2>x</h2>\r\n</html>\r\n"));
        // The table's positions point into the text.
        const auto p = doc.span(2);
        QCOMPARE(text.mid(p.start, p.startTagEnd - p.start), QStringLiteral("<p id=\"1\">"));
        QCOMPARE(text.mid(p.endTagStart, p.end - p.endTagStart), QStringLiteral("</p>\r\n"));
        const auto br = doc.span(4);
        QCOMPARE(text.mid(br.start, br.end - br.start), QStringLiteral("<br/>\r\n"));
        QCOMPARE(br.startTagEnd, br.endTagStart);
        QCOMPARE(doc.parentOf(5), 2);

        QVERIFY(doc.outOfElement());
        doc.reset();
        QCOMPARE(doc.documentText(), QString());
        QCOMPARE(doc.elementCount(), 0);
    }

    void findWalksSiblingsAndChildren() {
        XmlDocument doc;
        QVERIFY(doc.addElement(QStringLiteral("r")));
        QVERIFY(doc.addChildElement(QStringLiteral("a"), QStringLiteral("1")));
        QVERIFY(doc.addChildElement(QStringLiteral("b"), QStringLiteral("2")));
        QVERIFY(doc.addChildElement(QStringLiteral("a"), QStringLiteral("3")));
        doc.resetPositions();
        QVERIFY(doc.findElement(QStringLiteral("r")));
        QVERIFY(doc.findChildElement(QStringLiteral("a")));
        QCOMPARE(doc.childPosition(), 2);
        QVERIFY(doc.findChildElement(QStringLiteral("a")));
        QCOMPARE(doc.childPosition(), 4);
        QVERIFY(!doc.findChildElement(QStringLiteral("a")));
        QCOMPARE(doc.childPosition(), 4);
        QVERIFY(!doc.findElement(QString()));  // the root has no sibling
        // Among siblings inside r.
        doc.resetPositions();
        QVERIFY(doc.findElement(QString()));
        QVERIFY(doc.intoElement());  // the first child
        QCOMPARE(doc.mainPosition(), 2);
        QVERIFY(doc.findElement(QStringLiteral("a")));
        QCOMPARE(doc.mainPosition(), 4);
        QVERIFY(!doc.findElement(QString()));
        QVERIFY(doc.outOfElement());
        QCOMPARE(doc.mainPosition(), 1);
        QCOMPARE(doc.childPosition(), 4);
    }

    // What the document makes, xmllint reads.
    void readableByXmllint() {
        XmlDocument doc;
        QVERIFY(doc.addElement(QStringLiteral("root")));
        QVERIFY(doc.addAttribute(QStringLiteral("q"), QStringLiteral("'\"<&>")));
        QVERIFY(doc.addChildElement(QStringLiteral("c"), QStringLiteral("a<b & c>d \x01\x02")));
        QVERIFY(doc.addChildElement(QStringLiteral("e")));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(doc.documentText().toUtf8());
        file.close();
        QCOMPARE(test::xmllintErrors(path, false), QByteArray());
        QCOMPARE(test::xmllintXPath(path, QStringLiteral("string(/root/c)")),
                 QByteArray("a<b & c>d "));
        QCOMPARE(test::xmllintXPath(path, QStringLiteral("string(/root/@q)")),
                 QByteArray("'\"<&>"));
    }
};

TEMPOLATCH_TEST(XmlDocumentTest);
#include "XmlDocumentTest.moc"
