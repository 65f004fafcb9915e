#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"

using namespace tempolatch;
using test::paragraph;

class RtfTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void roundTrips_data() {
        QTest::addColumn<NoteText>("text");
        QTest::newRow("nothing") << NoteText{};
        QTest::newRow("sample") << test::sampleContent().text;
        QTest::newRow("specials") << NoteText{{paragraph(
            {{QStringLiteral("a\\b {c} \td\u2028e\u00a0f ~-_ \\'41 \\u65"), NoteBold}})}};
        QTest::newRow("outside the code page") << NoteText{
            {paragraph({{QStringLiteral("\u0416 \u4f60\u597d \uffff \U0001F680"), 0}})}};
        QTest::newRow("empty paragraphs") << NoteText{
            {paragraph({}), paragraph({{QStringLiteral("x"), 0}}), paragraph({}), paragraph({})}};
        QTest::newRow("nested lists")
            << NoteText{{paragraph({{QStringLiteral("one"), 0}}, NoteList::Numbered),
                         paragraph({{QStringLiteral("a"), NoteItalic}}, NoteList::Bullet, 1),
                         paragraph({{QStringLiteral("deep"), 0}}, NoteList::Numbered, 2),
                         paragraph({{QStringLiteral("two"), 0}}, NoteList::Numbered),
                         paragraph({{QStringLiteral("after"), NoteUnderline}})}};
        QTest::newRow("format changes")
            << NoteText{{paragraph({{QStringLiteral("b"), NoteBold},
                                    {QStringLiteral("bi"), NoteBold | NoteItalic},
                                    {QStringLiteral("i"), NoteItalic},
                                    {QStringLiteral(" "), 0},
                                    {QStringLiteral("u"), NoteUnderline}}),
                         paragraph({{QStringLiteral("still bold?"), 0}})}};
    }
    void roundTrips() {
        QFETCH(NoteText, text);
        const QByteArray rtf = RtfWriter::write(text);
        // Only 7-bit bytes, as the format wants.
        for (const char c : rtf)
            QVERIFY(uchar(c) < 0x80);
        const std::optional<NoteText> back = RtfReader::read(rtf);
        QVERIFY(back);
        QCOMPARE(test::describe(*back), test::describe(text));
        QCOMPARE(*back, text);
    }

    void writesTheAnsiCodePage() {
        const QByteArray rtf = RtfWriter::write(
            NoteText{{paragraph({{QStringLiteral("caf\u00e9 \u20ac \u0416"), 0}})}});
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        QVERIFY(rtf.contains("caf\\'e9 \\'80 \\u1046?"));
    }

    void readsOtherWriters_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        const QString word = QStringLiteral(
            "Call with <b>Globex</b> about the <i>\u201cnew\u201d contract</i>\u2014see <u>the "
            "draft</u>.\n"
            "[b0] Review terms\n"
            "[b0] Send invoice\n"
            "[n1] Nested step\n"
            "\u30c6\u30b9\u30c8 \u65e5\u672c and a picture: end");
        QTest::newRow("WordPad") << QStringLiteral("wordpad.rtf")
                                 << QStringLiteral(
                                        "Meeting with <b>Acme</b>, <i>notes</i> and "
                                        "<u>underlined</u>.\n"
                                        "[b0] First point\n"
                                        "[b0] Second point\n"
                                        "[n0] Step one\n"
                                        "[n0] Step two\n"
                                        "\u041f\u0440\u0438\u0432\u0435\u0442 caf\u00e9 \u20ac\t"
                                        "braces { } and \\ backslash");
        QTest::newRow("Word") << QStringLiteral("word.rtf") << word;
        // Saved by LibreOffice Writer 7.4 from word.rtf, byte for byte.
        QTest::newRow("LibreOffice, saved") << QStringLiteral("libreoffice-saved.rtf") << word;
        QTest::newRow("LibreOffice")
            << QStringLiteral("libreoffice.rtf")
            << QStringLiteral(
                   "Plain <b>bold</b> and <i>italic</i> and <u>underlined</u> and "
                   "<b><i><u>all three</u></i></b>\n"
                   "[b0] Apples\n"
                   "[b1] Green ones\n"
                   "[n0] One\n"
                   "[n0] Two\n"
                   "\n"
                   "Gr\u00fc\u00dfe \u2013 \u4f60\u597d|second line");
        QTest::newRow("TextEdit") << QStringLiteral("textedit.rtf")
                                  << QStringLiteral(
                                         "Hello <b>bold</b> and <i>italic</i> and "
                                         "<u>underlined</u>\n"
                                         "Second line with \u00e9 and \u20ac euro\n"
                                         "[b0] Milk\n"
                                         "[b0] Eggs\n"
                                         "[n0] Wash\n"
                                         "[n0] Dry\n"
                                         "Emoji \U0001F600 done");
    }
    void readsOtherWriters() {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const QByteArray rtf = test::readTestFile(file);
        QVERIFY(!rtf.isEmpty());
        QString error;
        const std::optional<NoteText> text = RtfReader::read(rtf, &error);
        QVERIFY2(text, qPrintable(error));
        QCOMPARE(test::describe(*text), expected);
    }

    void codePages_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("document page 1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c4\\'e0}")
                                            << QStringLiteral("\u0414\u0430");
        QTest::newRow("font charset over document page")
            << QByteArray(
                   "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f1\\fcharset161 Greek;}}\\f1 "
                   "\\'e1\\f0\\'e1}")
            << QStringLiteral("\u03b1\u00e1");
        QTest::newRow("double-byte with a literal trail byte")
            << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'83e\\'83X\\'83g!}")
            << QStringLiteral("\u30c6\u30b9\u30c8!");
        QTest::newRow("Big5") << QByteArray("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4}")
                              << QStringLiteral("\u4e2d");
        QTest::newRow("mac") << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("\u00e9");
        QTest::newRow("unknown page reads as 1252")
            << QByteArray("{\\rtf1\\ansi\\ansicpg12345 \\'e9}") << QStringLiteral("\u00e9");
        QTest::newRow("negative \\u")
            << QByteArray("{\\rtf1 \\u-3913?}") << QStringLiteral("\uf0b7");
        QTest::newRow("\\uc2 fallback")
            << QByteArray("{\\rtf1 {\\uc2\\u26085\\'93\\'fa}x}") << QStringLiteral("\u65e5x");
        QTest::newRow("fallback ends with the group")
            << QByteArray("{\\rtf1 {\\uc3\\u26085 a}bc}") << QStringLiteral("\u65e5bc");
    }
    void codePages() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        const std::optional<NoteText> text = RtfReader::read(rtf);
        QVERIFY(text);
        QCOMPARE(text->toPlainText(QStringLiteral("\n")), expected);
    }

    // Hostile or broken documents give a result or a refusal, quickly and
    // without a crash.
    void hostileInput_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not rtf") << QByteArray("Hello") << false << QString();
        QTest::newRow("empty") << QByteArray() << false << QString();
        QTest::newRow("deep nesting")
            << "{\\rtf1 " + QByteArray(1'000'000, '{') << false << QString();
        QTest::newRow("nesting at the limit")
            << "{\\rtf1 " + QByteArray(RtfReader::MaxDepth - 1, '{') + "x" << true
            << QStringLiteral("x");
        QTest::newRow("cut short")
            << QByteArray("{\\rtf1 abc\\par de{\\b f") << true << QStringLiteral("abc\ndef");
        QTest::newRow("cut in a control word")
            << QByteArray("{\\rtf1 abc\\pa") << true << QStringLiteral("abc");
        QTest::newRow("cut in a hex byte")
            << QByteArray("{\\rtf1 abc\\'4") << true << QStringLiteral("abc");
        QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a{\\pict\\bin99999999999999 xyz}")
                                    << true << QStringLiteral("a");
        QTest::newRow("negative \\bin")
            << QByteArray("{\\rtf1 a\\bin-5 b}") << true << QStringLiteral("ab");
        QTest::newRow("huge \\u") << QByteArray("{\\rtf1 a\\u99999999999999999?b}") << true
                                  << QStringLiteral("ab");
        QTest::newRow("long control word")
            << "{\\rtf1 a\\" + QByteArray(10'000, 'q') + " b}" << true << QStringLiteral("ab");
        QTest::newRow("unbalanced closing")
            << QByteArray("{\\rtf1 a}}}b{c") << true << QStringLiteral("a");
        QTest::newRow("skipped destination keeps nesting")
            << QByteArray("{\\rtf1 {\\*\\unknown {a}{b\\}}}c}") << true << QStringLiteral("c");
        QTest::newRow("nul and control bytes")
            << QByteArray("{\\rtf1 a\0b\x01\x1f c}", 15) << true << QStringLiteral("ab c");
    }
    void hostileInput() {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, readable);
        QFETCH(QString, expected);
        QString error;
        const std::optional<NoteText> text = RtfReader::read(rtf, &error);
        QCOMPARE(bool(text), readable);
        if (text)
            QCOMPARE(text->toPlainText(QStringLiteral("\n")), expected);
        else
            QVERIFY(!error.isEmpty());
    }
};

TEMPOLATCH_TEST(RtfTest);
#include "RtfTest.moc"
