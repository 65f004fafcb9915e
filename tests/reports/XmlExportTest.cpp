#include <QTest>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "records/EntryFilter.h"
#include "reports/ReportSamples.h"
#include "reports/ReportsTestSupport.h"
#include "reports/XmlExport.h"
#include "settings/Settings.h"

using namespace tempolatch;

class XmlExportTest : public test::EnvironmentTest {
    Q_OBJECT

    QByteArray exported(quint16 encoding, const EntryFilter& criteria = EntryFilter()) {
        m_env->settings().encoding = encoding;
        QByteArray bytes;
        XmlExport xml(m_env->settings());
        const bool ok = xml.write(m_env->store(), criteria, [&](const QByteArray& b) {
            bytes += b;
            return true;
        });
        return ok ? bytes : QByteArray();
    }
    QString saved(const QByteArray& bytes, const QString& name) {
        const QString path = m_env->filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        QVERIFY(test::fillReportSample(m_env->store()));
    }

    // Each encoding: the whole file as expected, read by xmllint in the
    // encoding the declaration names, every text back as it went in.
    void encodings_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("default") << 0 << QByteArray("<?xml version=\"1.0\" ?>\r\n<ITEMS");
        QTest::newRow("utf-8") << 1
                               << QByteArray(
                                      "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<ITEMS");
        QTest::newRow("utf-16") << 2 << QByteArray("\xFF\xFE<\0?\0x\0", 8);
        QTest::newRow("iso-8859-1")
            << 3 << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n");
        QTest::newRow("big5") << 4 << QByteArray("<?xml version=\"1.0\" encoding=\"Big5\" ?>\r\n");
        QTest::newRow("shift_jis")
            << 5 << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n");
    }
    void encodings() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, start);
        const QByteArray bytes = exported(quint16(encoding));
        QVERIFY(bytes.startsWith(start));
        test::compareWithGolden(bytes, QStringLiteral("reports/entries-%1.xml")
                                           .arg(QString::fromLatin1(QTest::currentDataTag())));
        const QString path = saved(bytes, QStringLiteral("entries.xml"));
        QCOMPARE(test::xmllintErrors(path, false), QByteArray());
        const QList<TimeEntry> entries = test::reportSampleEntries();
        const auto value = [&](int item, const char* element) {
            return QString::fromUtf8(test::xmllintXPath(
                path, QStringLiteral("string(//*[local-name()='ITEM'][%1]/*[local-name()='%2'])")
                          .arg(item)
                          .arg(QLatin1String(element))));
        };
        QCOMPARE(value(1, "CLIENT"), entries[0].client);
        QCOMPARE(value(1, "PROJECT"), entries[0].project);
        QCOMPARE(value(1, "BILLTO"), entries[0].billTo);
        QCOMPARE(value(1, "NOTES"), QStringLiteral("\n\nLine one\nsays ]]> here\n\n"));
        QCOMPARE(value(2, "CLIENT"), entries[1].client);
        QCOMPARE(value(4, "CLIENT"), entries[3].client);
        QCOMPARE(value(4, "TASK"), entries[3].task);
        QCOMPARE(value(4, "NOTES"), QStringLiteral("\n\n\u65e5\u672c \u00e9\n\n"));
        // Control characters other than tab are dropped.
        QCOMPARE(value(5, "CLIENT"), QStringLiteral("Ctlx"));
        QCOMPARE(value(5, "CUSTOM3"), entries[4].custom3);

        // iconv reads the bytes in the encoding named, or in UTF-8 without a name.
        static const char* const charsets[] = {"UTF-8",      "UTF-8", "UTF-16",
                                               "ISO-8859-1", "BIG5",  "SHIFT_JIS"};
        const test::ToolRun decoded =
            test::runTool(QStringLiteral("iconv"),
                          {QStringLiteral("-f"), QLatin1String(charsets[encoding]),
                           QStringLiteral("-t"), QStringLiteral("UTF-8")},
                          bytes);
        QCOMPARE(decoded.exitCode, 0);
        QVERIFY(QString::fromUtf8(decoded.out).contains(QStringLiteral("<CLIENT>a&lt;b</CLIENT>")));
    }

    // The values of one item, element by element.
    void itemValues() {
        const QString text = QString::fromUtf8(exported(XmlExport::Utf8));
        // a<b and R&D, a start at 13:30 with 1.50 h and a 0.25 break: the end
        // is 15:15 on the 24-hour clock.
        QVERIFY(text.contains(QStringLiteral(
            "<ITEM Status=\"1\">\r\n<DATE>2026-12-01</DATE>\r\n<CLIENT>a&lt;b</CLIENT>\r\n"
            "<PROJECT>Web &amp; &quot;Co&quot;</PROJECT>\r\n<PHASE></PHASE>\r\n"
            "<TASK>R&amp;D</TASK>\r\n<START>13:30:00</START>\r\n<BREAKTIME>0.25</BREAKTIME>\r\n"
            "<END>15:15:00</END>\r\n<DURATION>1.50</DURATION>\r\n<CURRENCY>USD</CURRENCY>\r\n"
            "<RATE Type=\"0\">\r\n60.00</RATE>\r\n<AMOUNT>90.00</AMOUNT>\r\n")));
        // No start time: no START, BREAKTIME, END; rate 0: an empty RATE and
        // an amount of 0.00, Non Billable included.
        QVERIFY(text.contains(
            QStringLiteral("<TASK>Design</TASK>\r\n<DURATION>2.00</DURATION>\r\n"
                           "<CURRENCY>EUR</CURRENCY>\r\n<RATE />\r\n<AMOUNT>0.00</AMOUNT>\r\n")));
        // 22:30 + 2.00 h + 0.50 break ends at 01:00 the next day.
        QVERIFY(text.contains(
            QStringLiteral("<START>22:30:00</START>\r\n<BREAKTIME>0.50</BREAKTIME>\r\n"
                           "<END>01:00:00</END>\r\n")));
        // A fixed rate is the amount.
        QVERIFY(text.contains(
            QStringLiteral("<RATE Type=\"3\">\r\n125.00</RATE>\r\n<AMOUNT>125.00</AMOUNT>")));
        // .17 and .33 hours are ten and twenty minutes: 08:15 + 0:20 + 0:10.
        QVERIFY(text.contains(QStringLiteral("<END>08:45:00</END>")));
        QVERIFY(text.contains(QStringLiteral("<NOTES />\r\n</ITEM>")));
        QVERIFY(text.endsWith(QStringLiteral("</ITEM>\r\n</ITEMS>\r\n")));
    }

    // A note whose text is empty has no NOTES element at all; no entry
    // gives an empty ITEMS element.
    void emptyNoteAndEmptySelection() {
        TimeEntry e;
        e.date = test::at(2027, 1, 5);
        e.client = QStringLiteral("N");
        e.note = test::noteOf(QStringLiteral("x"));
        XmlExport xml(m_env->settings());
        QString item;
        xml.appendItem(item, e);
        QVERIFY(item.contains(QStringLiteral("<NOTES>")));
        e.note = QByteArray("\x01\x02 not a note", 14);
        item.clear();
        xml.appendItem(item, e);
        QVERIFY(!item.contains(QStringLiteral("NOTES")));

        EntryFilter criteria;
        criteria.startDate = test::day(2027, 1, 1);
        criteria.endDate = test::day(2027, 1, 31);
        QCOMPARE(exported(XmlExport::Default, criteria),
                 QByteArray("<?xml version=\"1.0\" ?>\r\n<ITEMS Version=\"300\" "
                            "xmlns=\"entry-schema\">\r\n</ITEMS>\r\n"));
    }

    // A character the encoding lacks inside a note's CDATA section closes
    // the section around its reference.
    void missingCharacterInCdata() {
        m_env->settings().encoding = XmlExport::Latin1;
        XmlExport xml(m_env->settings());
        QString text = QStringLiteral(
            "<a>\u20ac</a>\r\n<![CDATA[\r\nx\u20acy]]]]><![CDATA[>\u65e5\r\n]]>\r\n");
        QCOMPARE(xml.encode(text, false),
                 QByteArray("<a>&#8364;</a>\r\n<![CDATA[\r\nx]]>&#8364;<![CDATA[y]]]]><![CDATA[>]]>"
                            "&#26085;<![CDATA[\r\n]]>\r\n"));
    }
};

TEMPOLATCH_TEST(XmlExportTest);
#include "XmlExportTest.moc"
