#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "reports/ExportFile.h"
#include "reports/ExportValues.h"
#include "store/TimeEntry.h"

using namespace tempolatch;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class ExportFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void closedFileReplacesTheOldOne() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        writeFile(path, "old contents");

        ExportFile file(QByteArrayLiteral("UTF-8"));
        QVERIFY(file.open(path));
        QVERIFY(file.writeText(QStringLiteral("\"é\",\"€\"\r\n")));
        QCOMPARE(file.lastWritten(), qint64(12));
        QVERIFY(file.writeRaw(QByteArrayLiteral("raw")));
        // Until the file is closed the old one is what the user sees.
        QCOMPARE(contents(path), QByteArray("old contents"));
        QVERIFY(file.close());
        QCOMPARE(contents(path), QByteArray("\"\xc3\xa9\",\"\xe2\x82\xac\"\r\nraw"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.csv")});
    }

    void abandonedFileLeavesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.csv"));
        writeFile(path, "kept");
        {
            ExportFile file;
            QVERIFY(file.open(path));
            QVERIFY(file.writeText(QStringLiteral("half")));
        }  // gone without close()
        QCOMPARE(contents(path), QByteArray("kept"));

        const QString fresh = dir.filePath(QStringLiteral("fresh.csv"));
        ExportFile second;
        QVERIFY(second.open(fresh));
        second.writeText(QStringLiteral("half"));
        second.abandon();
        QVERIFY(!QFile::exists(fresh));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.csv")});
    }

    void failuresAreReported() {
        ExportFile notOpen;
        QVERIFY(!notOpen.writeText(QStringLiteral("x")));
        QVERIFY(!notOpen.lastWriteOk());
        QVERIFY(!notOpen.close());

        ExportFile noFolder;
        QVERIFY(!noFolder.open(QStringLiteral("/nonexistent-folder/x.csv")));

        // The folder goes away while the file is written: the rename fails,
        // and close says so.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        ExportFile file;
        QVERIFY(file.open(dir.filePath(QStringLiteral("sub/x.csv"))));
        QVERIFY(file.writeText(QStringLiteral("x")));
        QVERIFY(QDir(dir.filePath(QStringLiteral("sub"))).removeRecursively());
        QVERIFY(!file.close());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("sub/x.csv"))));
    }

    void noteText() {
        TimeEntry entry;
        QCOMPARE(entryNoteText(entry), QString());
        NoteContent content;
        content.text = NoteText::fromPlainText(QStringLiteral("a\nb"));
        entry.note = NoteData::encode(content);
        QCOMPARE(entryNoteText(entry), QStringLiteral("a\r\nb"));
        entry.note = QByteArrayLiteral("foreign bytes");
        QCOMPARE(entryNoteText(entry), QString());
    }

    void legacyCodesetWritesQuestionMarks() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("latin.csv"));
        ExportFile file(QByteArrayLiteral("ISO-8859-1"));
        QVERIFY(file.open(path));
        QVERIFY(file.writeText(QStringLiteral("é€x")));
        QVERIFY(file.close());
        QCOMPARE(contents(path), QByteArray("\xe9?x"));
    }

    void endTimeMinutes_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("minutes");
        QTest::newRow("1.17 h is 1 h 10") << 117 << 70;
        QTest::newRow("1.33 h is 1 h 20") << 133 << 80;
        QTest::newRow("1.67 h is 1 h 40") << 167 << 100;
        QTest::newRow("1.83 h is 1 h 50") << 183 << 110;
        QTest::newRow("1.16 h truncated") << 116 << 69;
        QTest::newRow("1.18 h truncated") << 118 << 70;
        QTest::newRow("2.05 h exact in integers") << 205 << 123;
        QTest::newRow("0.17 h") << 17 << 10;
        QTest::newRow("zero") << 0 << 0;
    }
    void endTimeMinutes() {
        QFETCH(int, duration);
        QFETCH(int, minutes);
        QCOMPARE(durationWholeMinutes(duration), minutes);
        TimeEntry entry;
        entry.date = test::at(2026, 3, 2, 9, 0, 1);
        entry.duration = duration;
        entry.breakTime = 50;  // never counted in
        QCOMPARE(endTimeWithoutBreak(entry), entry.date.addMinutes(minutes));
    }
};

TEMPOLATCH_TEST(ExportFileTest);
#include "ExportFileTest.moc"
