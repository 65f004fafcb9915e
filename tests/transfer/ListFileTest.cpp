#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "common/SampleStore.h"
#include "common/TestRegistry.h"
#include "platform/Locale.h"
#include "transfer/ListFile.h"

using namespace tempolatch;
using platform::Locale;

Q_DECLARE_METATYPE(std::optional<QStringList>)

namespace {

QByteArray utf16(const QString& text, bool bigEndian = false) {
    QByteArray bytes = bigEndian ? QByteArray("\xfe\xff", 2) : QByteArray("\xff\xfe", 2);
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(bigEndian ? high : low);
        bytes.append(bigEndian ? low : high);
    }
    return bytes;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class ListFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void cleanup() { Locale::setSystemCodeset({}); }

    void reading_data() {
        QTest::addColumn<QByteArray>("codeset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<QStringList>>("expected");
        using Lines = std::optional<QStringList>;
        const QString l127(127, QLatin1Char('x'));
        const QString l128 = l127 + QLatin1Char('y');
        const QString l200 = QString(199, QLatin1Char('z')) + QLatin1Char('!');

        QTest::newRow("utf-8 codeset, empty lines")
            << QByteArray("UTF-8") << QByteArray("A\r\n\r\nB\n\nC\rD")
            << Lines({"A", "B", "C", "D"});
        QTest::newRow("utf-8 codeset, accents")
            << QByteArray("UTF-8") << QByteArray("Caf\xc3\xa9\r\n\xe2\x9c\x93")
            << Lines({"Café", "✓"});
        QTest::newRow("latin-1 codeset")
            << QByteArray("ISO-8859-1") << QByteArray("Caf\xe9\r\nx") << Lines({"Café", "x"});
        QTest::newRow("utf-8 mark under latin-1") << QByteArray("ISO-8859-1")
                                                  << QByteArray(
                                                         "\xef\xbb\xbf"
                                                         "Caf\xc3\xa9\r\nx")
                                                  << Lines({"Café", "x"});
        QTest::newRow("utf-16 mark")
            << QByteArray("UTF-8") << utf16(QStringLiteral("Ünï\r\n\r\nB✓"))
            << Lines({"Ünï", "B✓"});
        QTest::newRow("utf-16, odd last byte")
            << QByteArray("UTF-8") << utf16(QStringLiteral("A\nB")).chopped(1) << Lines({"A", "B"});
        QTest::newRow("line of 127")
            << QByteArray("UTF-8") << (l127 + "\r\n").toUtf8() << Lines(QStringList{l127});
        QTest::newRow("line of 128 stays whole")
            << QByteArray("UTF-8") << (l128 + "\r\n").toUtf8() << Lines(QStringList{l128});
        QTest::newRow("line of 129 cut to 127")
            << QByteArray("UTF-8") << (l128 + "z").toUtf8() << Lines(QStringList{l127});
        QTest::newRow("line of 200 cut to 127")
            << QByteArray("UTF-8") << utf16(l200 + "\r\nnext") << Lines({l200.left(127), "next"});
        QTest::newRow("empty file") << QByteArray("UTF-8") << QByteArray() << Lines(QStringList());
        QTest::newRow("only line breaks")
            << QByteArray("UTF-8") << QByteArray("\r\n\n\r") << Lines(QStringList());
        QTest::newRow("text ends at NUL")
            << QByteArray("UTF-8") << QByteArray("A\r\nB\0C\r\nD", 9) << Lines({"A", "B"});
        QTest::newRow("utf-16 starting with NUL fails")
            << QByteArray("UTF-8") << utf16(QString(QChar(0)) + "A") << Lines();
        QTest::newRow("utf-16 big-endian mark")
            << QByteArray("UTF-8") << utf16(QStringLiteral("Ünï\r\n\r\nB✓"), true)
            << Lines({"Ünï", "B✓"});
        // Files that are not text give no names at all, rather than garbage.
        QTest::newRow("picture") << QByteArray("UTF-8")
                                 << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << Lines();
        QTest::newRow("zip archive")
            << QByteArray("UTF-8") << QByteArray("PK\x03\x04\x14\0\0\0", 8) << Lines();
        QTest::newRow("bad utf-8")
            << QByteArray("UTF-8") << QByteArray("Acme\r\n\xff\xfe\xfd") << Lines();
        QTest::newRow("latin-1 C1 control")
            << QByteArray("ISO-8859-1") << QByteArray("Acme\x85") << Lines();
        QTest::newRow("tab and page break are text")
            << QByteArray("UTF-8") << QByteArray("A\tB\f\nC") << Lines({"A\tB\f", "C"});
        QTest::newRow("utf-16 mark alone")
            << QByteArray("UTF-8") << utf16(QString()) << Lines(QStringList());
    }
    void reading() {
        QFETCH(QByteArray, codeset);
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<QStringList>, expected);
        Locale::setSystemCodeset(codeset);
        const QString path = m_dir.filePath(QStringLiteral("in.txt"));
        writeBytes(path, bytes);
        auto problem = ListFileProblem::Unreadable;
        QCOMPARE(readListFile(path, &problem), expected);
        // A file that was read but gave nothing is said to be no text.
        if (!expected)
            QCOMPARE(problem, ListFileProblem::NotText);
    }

    void missingFileFails() {
        auto problem = ListFileProblem::NotText;
        QVERIFY(!readListFile(m_dir.filePath(QStringLiteral("none.txt")), &problem));
        QCOMPARE(problem, ListFileProblem::Unreadable);
    }

    // Whole files against the expected ones: CR LF between the names and
    // none after the last.
    void exporting_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("golden");
        QTest::newRow("8-bit") << int(ListFileEncoding::EightBit)
                               << QStringLiteral("list-8bit.txt");
        QTest::newRow("utf-16") << int(ListFileEncoding::Utf16) << QStringLiteral("list-utf16.txt");
    }
    void exporting() {
        QFETCH(int, encoding);
        QFETCH(QString, golden);
        Locale::setSystemCodeset("UTF-8");
        const QStringList names = {QStringLiteral("X"), QStringLiteral("Café ✓"),
                                   QStringLiteral("Y")};
        const QString path = m_dir.filePath(golden);
        QVERIFY(exportList(path, names, ListFileEncoding(encoding)));
        const QString expected = test::testDataPath(QStringLiteral("transfer/") + golden);
        if (test::regeneratingGoldenFiles())
            writeBytes(expected, fileBytes(path));
        QCOMPARE(fileBytes(path), fileBytes(expected));
        QCOMPARE(readListFile(path), std::optional<QStringList>(names));
    }

    void exportReplacesOldFile() {
        const QString path = m_dir.filePath(QStringLiteral("old.txt"));
        writeBytes(path, QByteArray("a much longer old list\r\nof names"));
        QVERIFY(exportList(path, {QStringLiteral("A"), QStringLiteral("B")},
                           ListFileEncoding::EightBit));
        QCOMPARE(fileBytes(path), QByteArray("A\r\nB"));
    }

    void unwritableExportFails() {
        const QString path = m_dir.filePath(QStringLiteral("missing-folder/list.txt"));
        QVERIFY(!exportList(path, {QStringLiteral("A")}, ListFileEncoding::EightBit));
        QVERIFY(!QFile::exists(path));
    }
};

TEMPOLATCH_TEST(ListFileTest);
#include "ListFileTest.moc"
