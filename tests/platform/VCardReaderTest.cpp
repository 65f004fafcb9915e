#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>

#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "platform/contacts/ContactFolders.h"
#include "platform/contacts/VCardReader.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

// Cards are written with "\n"; each is read with LF, CRLF and lone-CR line ends.
QByteArray withLineEnds(const QByteArray& text, const char* ending) {
    QByteArray out = text;
    out.replace("\n", ending);
    return out;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray card(const QByteArray& version, const QByteArray& lines) {
    return "BEGIN:VCARD\nVERSION:" + version + "\n" + lines + "END:VCARD\n";
}

const QByteArray kSample =
    card("2.1",
         "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=4D=C3=BC=6C=6C=65=72;=4A=C3=B6=72=67;;;\n") +
    card("3.0",
         "FN:Dr. Siobh\xC3\xA1n O'Ne\n il\\, PhD\nitem1.EMAIL;type=INTERNET:s@example.com\n") +
    card("4.0", "FN;ALTID=1;LANGUAGE=en:Jean Dupont\nN:Dupont;Jean;;;\n");

}  // namespace

class VCardReaderTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void readNames_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("2.1 quoted-printable UTF-8 with a soft break")
            << card("2.1",
                    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=4D=C3=BC=6C=6C=65=72;=4A=C3=B6=72="
                    "67;;;\n"
                    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=4A=C3=B6=72=67=20=4D=C3=BC=6C=6C="
                    "65=72=20=2D=20=42=C3=A4=63=6B=65=72=\n"
                    "=65=69=20=53=63=68=C3=B6=6E=62=72=75=6E=6E\n"
                    "TEL;CELL:+49 170 1234567\n")
            << QStringList{QStringLiteral("Jörg Müller - Bäckerei Schönbrunn")};
        QTest::newRow("2.1 bare QUOTED-PRINTABLE in ISO-8859-1 read as windows-1252")
            << card("2.1", "FN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Ren=E9e O=92Brien\n")
            << QStringList{QStringLiteral("Renée O’Brien")};
        QTest::newRow("2.1 soft break cut off by the end of the card")
            << QByteArray(
                   "BEGIN:VCARD\nVERSION:2.1\nN;ENCODING=QUOTED-PRINTABLE:Smith;Anna=\n"
                   "END:VCARD\nBEGIN:VCARD\nFN:Next One\nEND:VCARD\n")
            << QStringList{QStringLiteral("Anna Smith"), QStringLiteral("Next One")};
        QTest::newRow("2.1 N keeps commas, folding keeps the blank")
            << card("2.1", "N:Smith;John;;;Jr., PhD\nNOTE:x\n") +
                   card("2.1", "FN:Anna\n Karenina\n")
            << QStringList{QStringLiteral("John Smith Jr., PhD"), QStringLiteral("Anna Karenina")};
        QTest::newRow("3.0 folding with space and tab, inside a UTF-8 letter")
            << card("3.0", "FN:Dr. Siobh\xC3\xA1n O'Ne\n il\\, PhD\n") +
                   card("3.0", "FN:Zo\xC3\n\t\xAB Durand\n")
            << QStringList{QStringLiteral("Dr. Siobhán O'Neil, PhD"), QStringLiteral("Zoë Durand")};
        QTest::newRow("3.0 escapes")
            << card("3.0", "FN:Smith\\; Jones \\\\ Co\\nLtd\\: East \\q\n")
            << QStringList{QStringLiteral("Smith; Jones \\ Co Ltd: East \\q")};
        QTest::newRow("N without FN, with prefix, suffix and several values")
            << card("3.0", "N:Public;John;Quinlan;Mr.;Esq.\n") +
                   card("4.0", "N;SORT-AS=\"Mann,James\":de Mann;Henry,John;;Dr.;\n") +
                   card("3.0", "N:Smith;John;;;Jr.\\, PhD\n")
            << QStringList{QStringLiteral("Mr. John Quinlan Public Esq."),
                           QStringLiteral("Dr. Henry John de Mann"),
                           QStringLiteral("John Smith Jr., PhD")};
        QTest::newRow("4.0 parameters, a colon inside quotes")
            << card("4.0", "FN;PREF=1;X-NOTE=\"a:b;c\":Karl Quote\nN:Quote;Karl;;;\n")
            << QStringList{QStringLiteral("Karl Quote")};
        QTest::newRow("Apple and Google grouped properties, any letter case")
            << card("3.0",
                    "PRODID:-//Apple Inc.//macOS 13.0//EN\nN:Appleseed;Johnny;;;\n"
                    "item1.EMAIL;type=INTERNET;type=pref:johnny@example.com\n"
                    "item1.X-ABLabel:_$!<Other>!$_\nFN:Johnny Appleseed\n") +
                   card("3.0", "item2.fn:Grouped Lower\n") +
                   card("3.0", "Fn;Charset=Utf-8:Mixed Case\n")
            << QStringList{QStringLiteral("Johnny Appleseed"), QStringLiteral("Grouped Lower"),
                           QStringLiteral("Mixed Case")};
        QTest::newRow("FN empty falls back to N; neither, or only ORG, is skipped")
            << card("3.0", "FN:\nN:Doe;Jane;;;\n") + card("3.0", "ORG:Acme Inc.\n") +
                   card("3.0", "FN: \\n \nN:;;;;\n") + card("3.0", "FN:Last One\n")
            << QStringList{QStringLiteral("Jane Doe"), QStringLiteral("Last One")};
        QTest::newRow("photos in base64, folded and 2.1 style, are skipped")
            << card("2.1",
                    "PHOTO;ENCODING=BASE64;TYPE=JPEG:\n /9j/4AAQSkZJRgABAQEASABIAAD\n"
                    "4QBmRXhpZgAATU0AKgAAAAgABAEaAAUAAAABAAAAPgEb\n\nFN:Photo Person\n") +
                   card("3.0",
                        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJ\n RgABAQEASABIAAD\n"
                        "FN:Other Person\n")
            << QStringList{QStringLiteral("Photo Person"), QStringLiteral("Other Person")};
        QTest::newRow("FN in base64") << card("3.0", "FN;ENCODING=b:w57Ds3Igw5NsYWZzc29u\n")
                                      << QStringList{QStringLiteral("Þór Ólafsson")};
        QTest::newRow("text that is not UTF-8 and has no charset")
            << card("3.0", "FN:Fran\xE7ois B\xE9rard\n")
            << QStringList{QStringLiteral("François Bérard")};
        QTest::newRow("byte order mark, and another one between two files joined")
            << "\xEF\xBB\xBF" + card("3.0", "FN:First\n") + "\xEF\xBB\xBF" +
                   card("3.0", "FN:Second\n")
            << QStringList{QStringLiteral("First"), QStringLiteral("Second")};
        QTest::newRow("2.1 agent card belongs to its owner")
            << card("2.1",
                    "FN:The Boss\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nFN:The Assistant\n"
                    "END:VCARD\nTEL:123\n") +
                   card("2.1", "FN:Someone Else\n")
            << QStringList{QStringLiteral("The Boss"), QStringLiteral("Someone Else")};
        QByteArray endlessBreaks = "BEGIN:VCARD\nN;QUOTED-PRINTABLE:A=\n";
        for (int i = 0; i < 100000; ++i)
            endlessBreaks += "x=\n";
        QTest::newRow("endless soft breaks, within the line limit")
            << endlessBreaks + "END:VCARD\n" + card("2.1", "FN:After\n")
            << QStringList{QStringLiteral("After")};
        QTest::newRow("a wide charset on byte lines is not believed")
            << card("3.0", "FN;CHARSET=UTF-16:Plain Text\n")
            << QStringList{QStringLiteral("Plain Text")};
        QTest::newRow("damaged file")
            << QByteArray(
                   "FN:Before Any Card\nEND:VCARD\ngarbage without colon\n\x01\x02\xFF\n"
                   "BEGIN:VCARD\nVERSION:3.0\nFN:Never Ended\n"
                   "BEGIN:VCARD\nVERSION:3.0\nN;ENCODING=QUOTED-PRINTABLE:=ZZ=4;=\n"
                   "END:VCARD\nBEGIN:VCALENDAR\nFN:Not A Card\nEND:VCALENDAR\n"
                   "BEGIN:VCARD\n:\n;;;\nFN\nFN:Cut Off")
            << QStringList{QStringLiteral("Never Ended"), QStringLiteral("=ZZ=4"),
                           QStringLiteral("Cut Off")};
    }

    void readNames() {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, expected);
        for (const char* ending : {"\n", "\r\n", "\r"})
            QCOMPARE(VCardReader::readNames(withLineEnds(data, ending)), expected);
    }

    void readsUtf16Files_data() {
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<bool>("bom");
        QTest::newRow("LE with BOM") << false << true;
        QTest::newRow("BE with BOM") << true << true;
        QTest::newRow("LE without BOM") << false << false;
    }

    void readsUtf16Files() {
        QFETCH(bool, bigEndian);
        QFETCH(bool, bom);
        QStringEncoder encoder(
            bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
            bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        const QByteArray data = encoder.encode(QStringLiteral(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN;CHARSET=ISO-8859-1:Łukasz Żak\r\nEND:VCARD\r\n"));
        QCOMPARE(VCardReader::readNames(data), QStringList{QStringLiteral("Łukasz Żak")});
    }

    // Photos and garbage beyond the line limit are dropped without losing the
    // names around them.
    void overlongLinesAreSkipped() {
        QByteArray photo = "PHOTO;ENCODING=b:";
        for (int i = 0; i < 6000; ++i)
            photo += QByteArray(75, 'A') + "\r\n ";
        photo += "AAAA\r\n";
        const QByteArray junk(VCardReader::MaxLineBytes + 10, 'x');
        const QByteArray data = "BEGIN:VCARD\r\nVERSION:3.0\r\n" + photo +
                                "FN:After Photo\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:" + junk +
                                "\r\nN:Fallback;Name\r\nEND:VCARD\r\n" + junk +
                                "\r\nBEGIN:VCARD\r\nFN:Last\r\nEND:VCARD";
        QCOMPARE(VCardReader::readNames(data),
                 (QStringList{QStringLiteral("After Photo"), QStringLiteral("Name Fallback"),
                              QStringLiteral("Last")}));
    }

    // Cut and scrambled copies of real-looking files must never crash.
    void damagedDataIsSafe() {
        const QByteArray sample = withLineEnds(kSample, "\r\n");
        for (qsizetype cut = 0; cut <= sample.size(); ++cut)
            VCardReader::readNames(sample.left(cut));
        QRandomGenerator random(20261207);
        for (int round = 0; round < 500; ++round) {
            QByteArray data = sample;
            for (int i = 0; i < 8; ++i)
                data[random.bounded(int(data.size()))] = char(random.bounded(256));
            const QStringList names = VCardReader::readNames(data);
            QVERIFY(names.size() <= 4);
        }
    }

    void folderNamesAreSortedAndUnique() {
        const QString folder = m_env->filePath(QStringLiteral("book"));
        QVERIFY(writeFile(folder + QStringLiteral("/a.vcf"), card("3.0", "FN:Bob\n") +
                                                                 card("3.0", "FN:\xC3\x89mile\n") +
                                                                 card("3.0", "FN:alice\n")));
        QVERIFY(writeFile(folder + QStringLiteral("/B.VCF"),
                          card("3.0", "FN:Bob\n") + card("3.0", "FN:\xC3\x85ngstr\xC3\xB6m\n")));
        QVERIFY(writeFile(folder + QStringLiteral("/notes.txt"), card("3.0", "FN:Not Read\n")));
        QVERIFY(writeFile(folder + QStringLiteral("/sub/deeper.vcf"),
                          card("3.0", "FN:Not Read Either\n")));
#ifdef Q_OS_UNIX
        // A pipe named like a card file would block a reader that opened it.
        QCOMPARE(
            ::mkfifo(QFile::encodeName(folder + QStringLiteral("/pipe.vcf")).constData(), 0600), 0);
#endif
        QCOMPARE(VCardReader::namesInFolder(folder),
                 (QStringList{QStringLiteral("alice"), QStringLiteral("Ångström"),
                              QStringLiteral("Bob"), QStringLiteral("Émile")}));
        QVERIFY(VCardReader::namesInFolder(m_env->filePath(QStringLiteral("missing"))).isEmpty());
    }

    void desktopFoldersHoldCards() {
        const QString home = m_env->filePath(QStringLiteral("home"));
        const QString data = home + QStringLiteral("/.local/share");
        const QByteArray one = card("3.0", "FN:Someone\n");
        QVERIFY(writeFile(data + QStringLiteral("/contacts/a.vcf"), one));
        QVERIFY(writeFile(data + QStringLiteral("/evolution/addressbook/system/contacts.db"),
                          "SQLite"));
        QVERIFY(writeFile(data + QStringLiteral("/evolution/addressbook/1a2b/x.vcf"), one));
        QVERIFY(writeFile(home + QStringLiteral("/.contacts/work/y.vcf"), one));
        QVERIFY(QDir().mkpath(home + QStringLiteral("/Contacts")));

        QCOMPARE(ContactFolders::desktopFolders(home, data),
                 (QStringList{data + QStringLiteral("/contacts"),
                              data + QStringLiteral("/evolution/addressbook/1a2b"),
                              home + QStringLiteral("/.contacts/work")}));
        QCOMPARE(ContactFolders::defaults().value(0),
                 m_env->folder() + QStringLiteral("/contacts"));
    }

    void pickedFolderIsRemembered() {
        const QString picked = m_env->filePath(QStringLiteral("picked"));
        QVERIFY(ContactFolders::remembered(m_env->registry()).isEmpty());
        QVERIFY(QDir().mkpath(picked));
        QVERIFY(ContactFolders::remember(m_env->registry(), picked));
        QCOMPARE(ContactFolders::remembered(m_env->registry()), picked);
        QCOMPARE(ContactFolders::forChooser(m_env->registry()).count(picked), 1);
        QVERIFY(QDir(picked).removeRecursively());
        QVERIFY(ContactFolders::remembered(m_env->registry()).isEmpty());
    }
};

TEMPOLATCH_TEST(VCardReaderTest);
#include "VCardReaderTest.moc"
