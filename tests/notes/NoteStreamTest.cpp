#include <QFile>

#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "notes/NoteFiles.h"
#include "notes/NoteStream.h"
#include "platform/StringTable.h"

using namespace tempolatch;
using test::paragraph;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

NoteData twoLines() {
    NoteContent c;
    c.text.paragraphs = {
        paragraph({{QStringLiteral("Caf\u00e9 "), 0}, {QStringLiteral("bill"), NoteBold}}),
        paragraph({{QStringLiteral("\u20ac 5 \u0416"), 0}})};
    c.strokes = test::sampleContent().strokes;
    return NoteData::fromContent(c);
}

}  // namespace

class NoteStreamTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void writesEachFormat_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << int(NoteStreamFormat::PlainText)
                               << QByteArray("Caf\xe9 bill\r\n\x80 5 ?");
        QByteArray unicode("\xff\xfe", 2);
        for (const QChar c : QStringLiteral("Caf\u00e9 bill\r\n\u20ac 5 \u0416"))
            unicode += QByteArray::fromRawData(reinterpret_cast<const char*>(&c), 2);
        QTest::newRow("unicode") << int(NoteStreamFormat::UnicodeText) << unicode;
        QTest::newRow("note file") << int(NoteStreamFormat::NoteFile) << twoLines().bytes();
    }
    void writesEachFormat() {
        QFETCH(int, format);
        QFETCH(QByteArray, expected);
        QCOMPARE(NoteStream::write(twoLines(), NoteStreamFormat(format)), expected);
    }

    void readsTextStreams_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const auto plain = int(NoteStreamFormat::PlainText);
        const auto unicode = int(NoteStreamFormat::UnicodeText);
        QTest::newRow("plain CR LF")
            << plain << QByteArray("a\r\nb\xe9\r\n") << QStringLiteral("a|b\u00e9|");
        QTest::newRow("plain LF and CR")
            << plain << QByteArray("a\nb\rc") << QStringLiteral("a|b|c");
        QTest::newRow("plain, UTF-8 with mark")
            << plain << QByteArray("\xef\xbb\xbf\xe2\x82\xac") << QStringLiteral("\u20ac");
        QTest::newRow("unicode with mark") << unicode
                                           << QByteArray(
                                                  "\xff\xfe"
                                                  "a\0\r\0\n\0\x16\x04",
                                                  10)
                                           << QStringLiteral("a|\u0416");
        QTest::newRow("unicode big-endian")
            << unicode << QByteArray("\xfe\xff\0a", 4) << QStringLiteral("a");
        QTest::newRow("unicode without mark, odd length")
            << unicode << QByteArray("a\0b\0c", 5) << QStringLiteral("ab");
        QTest::newRow("plain with NUL") << plain << QByteArray("a\0b", 3) << QStringLiteral("ab");
        QTest::newRow("empty") << unicode << QByteArray() << QString();
    }
    void readsTextStreams() {
        QFETCH(int, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const std::optional<NoteData> note = NoteStream::read(bytes, NoteStreamFormat(format));
        QVERIFY(note);
        QCOMPARE(note->content().text.toPlainText(QStringLiteral("|")), expected);
    }

    void richTextKeepsTextNotDrawing() {
        const QByteArray rtf = NoteStream::write(twoLines(), NoteStreamFormat::RichText);
        const std::optional<NoteData> back = NoteStream::read(rtf, NoteStreamFormat::RichText);
        QVERIFY(back);
        QCOMPARE(back->content().text, twoLines().content().text);
        QVERIFY(back->content().strokes.isEmpty());
        QVERIFY(!NoteStream::read("plain words", NoteStreamFormat::RichText));
    }

    void foreignNotesStreamAsTheyAre() {
        const QByteArray foreign = QByteArray::fromHex("0102030405");
        const NoteData note = NoteData::fromBytes(foreign);
        QCOMPARE(NoteStream::write(note, NoteStreamFormat::NoteFile), foreign);
        QCOMPARE(NoteStream::write(note, NoteStreamFormat::PlainText), QByteArray());
        QCOMPARE(NoteStream::read(foreign, NoteStreamFormat::NoteFile)->bytes(), foreign);
        QCOMPARE(noteToPlainText(foreign), QString());
    }

    void plainTextOfANote() {
        QCOMPARE(noteToPlainText({}), QString());
        QCOMPARE(noteToPlainText(NoteData::encode(test::sampleContent())),
                 QStringLiteral("Met Acme re: renewal\r\n\u2022 call back\r\n  1. sub-point "
                                "\u00e9\u20ac\r\n\r\n\u041f\u0440\u0438\u0432\u0435\u0442 "
                                "\U0001F600\tend"));
    }

    void filterNumbersPickFormats() {
        using F = NoteStreamFormat;
        const QList<F> imports = {F::NoteFile, F::RichText, F::PlainText, F::UnicodeText};
        const QList<F> exports = {F::NoteFile, F::NoteFile, F::RichText, F::PlainText,
                                  F::UnicodeText};
        for (int i = 0; i < imports.size(); ++i)
            QCOMPARE(NoteFiles::importFormat(i + 1), imports[i]);
        for (int i = 0; i < exports.size(); ++i)
            QCOMPARE(NoteFiles::exportFormat(i + 1), exports[i]);
    }

    void exportNoteWritesTheChosenFormat_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("Pocket Word") << 1 << QStringLiteral("n") << QStringLiteral("n.psw");
        QTest::newRow("Pocket Notes") << 2 << QStringLiteral("n.pwi") << QStringLiteral("n.pwi");
        QTest::newRow("rich text") << 3 << QStringLiteral("n.rtf") << QStringLiteral("n.rtf");
        QTest::newRow("text") << 4 << QStringLiteral("n.txt") << QStringLiteral("n.txt");
        QTest::newRow("unicode") << 5 << QStringLiteral("n.txt") << QStringLiteral("n.txt");
    }
    void exportNoteWritesTheChosenFormat() {
        QFETCH(int, filter);
        QFETCH(QString, name);
        QFETCH(QString, written);
        m_env->ui().queueFile(m_env->filePath(name));
        m_env->ui().queueFilter(filter);
        QVERIFY(
            NoteFiles::exportWithDialog(m_env->ui(), twoLines(), str::ExportNoteFilter, nullptr));
        QCOMPARE(m_env->ui().fileFilters(),
                 QStringList{QStringLiteral(
                     "Pocket Word (*.psw)|*.psw|Pocket Notes (*.pwi)|*.pwi|Rich Text Files "
                     "(*.rtf)|*.rtf|Text Files (*.txt)|*.txt|Unicode Text Files (*.txt)|*.txt|")});
        QCOMPARE(readFile(m_env->filePath(written)),
                 NoteStream::write(twoLines(), NoteFiles::exportFormat(filter)));
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    void exportOfNoNoteWritesAnEmptyFile_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("note file") << 1 << QByteArray();
        QTest::newRow("text") << 4 << QByteArray();
        QTest::newRow("unicode") << 5 << QByteArray("\xff\xfe");
    }
    void exportOfNoNoteWritesAnEmptyFile() {
        QFETCH(int, filter);
        QFETCH(QByteArray, expected);
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("empty.txt")));
        m_env->ui().queueFilter(filter);
        QVERIFY(
            NoteFiles::exportWithDialog(m_env->ui(), NoteData(), str::ExportNoteFilter, nullptr));
        QCOMPARE(readFile(m_env->filePath(QStringLiteral("empty.txt"))), expected);
    }

    void exportFailureAndCancel() {
        m_env->ui().queueFile(m_env->filePath(QStringLiteral("no/such/folder/n.psw")));
        QVERIFY(
            !NoteFiles::exportWithDialog(m_env->ui(), twoLines(), str::ExportNoteFilter, nullptr));
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList{QStringLiteral("Export note failed. Please make sure there is enough "
                                            "storage space and try again.")});
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Stop);

        m_env->ui().clear();
        QVERIFY(
            !NoteFiles::exportWithDialog(m_env->ui(), twoLines(), str::NoteExportFilter, nullptr));
        QVERIFY(m_env->ui().shown().isEmpty());
    }

    void importReadsTheChosenFormat() {
        const QString path = m_env->filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFile(path, QByteArray("\xff\xfe"
                                           "h\0i\0",
                                           6)));
        m_env->ui().queueFile(path);
        m_env->ui().queueFilter(4);
        const std::optional<NoteData> note = NoteFiles::importWithDialog(m_env->ui(), nullptr);
        QVERIFY(note);
        QCOMPARE(note->content().text.toPlainText(), QStringLiteral("hi"));
        QCOMPARE(m_env->ui().fileFilters().first(),
                 QStringLiteral("Pocket Word Files|*.pwi;*.psw|Rich Text Files|*.rtf|Text "
                                "Files|*.txt|Unicode Files|*.txt|"));
    }

    void importOfAnUnreadableFileSaysSo() {
        const QString path = m_env->filePath(QStringLiteral("bad.rtf"));
        QVERIFY(writeFile(path, "no rich text here"));
        m_env->ui().queueFile(path);
        QVERIFY(!NoteFiles::importWithDialog(m_env->ui(), nullptr));
        QCOMPARE(m_env->ui().shownTexts(), QStringList{NoteFiles::importFailedText()});
    }

    void oversizedFilesAreRefused() {
        const QString path = m_env->filePath(QStringLiteral("huge.psw"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(NoteFiles::MaxFileSize + 1));
        file.close();
        QString error;
        QVERIFY(!NoteFiles::load(path, NoteStreamFormat::NoteFile, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!NoteFiles::load(m_env->filePath(QStringLiteral("missing.psw")),
                                 NoteStreamFormat::NoteFile));
    }

    void filterMatching() {
        const QString filter = resourceString(str::NoteImportFilter);
        QCOMPARE(platform::filterMatching(filter, QStringLiteral("/x/a.PSW")), 1);
        QCOMPARE(platform::filterMatching(filter, QStringLiteral("/x/a.rtf")), 2);
        QCOMPARE(platform::filterMatching(filter, QStringLiteral("/x/a.txt")), 3);
        QCOMPARE(platform::filterMatching(filter, QStringLiteral("/x/a.doc")), 0);
    }
};

TEMPOLATCH_TEST(NoteStreamTest);
#include "NoteStreamTest.moc"
