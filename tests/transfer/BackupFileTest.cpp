#include "common/EnvironmentTest.h"
#include "common/SampleRecords.h"
#include "common/TestRegistry.h"
#include "platform/Clock.h"
#include "transfer/BackupFile.h"
#include "transfer/TransferTestSupport.h"

using namespace tempolatch;
using namespace tempolatch::platform;
using test::at;

Q_DECLARE_METATYPE(tempolatch::platform::FileTime)

namespace {

// A stream written by `fill` into a file of its own and opened again.
struct OneStream {
    std::unique_ptr<CompoundFile> file;
    CompoundStream stream;
};

template <typename Fill>
OneStream oneStream(const QString& path, Fill fill) {
    {
        auto out = CompoundFile::create(path);
        CompoundStream s = out->root().createStream(QStringLiteral("S"));
        fill(s);
        s.close();
        out->commit();
    }
    OneStream in;
    in.file = CompoundFile::open(path);
    if (in.file)
        in.stream = in.file->root().openStream(QStringLiteral("S"));
    return in;
}

QByteArray bytesOf(OneStream in) {
    QByteArray bytes;
    in.stream.readBytes(in.stream.remaining(), bytes);
    return bytes;
}

// The full entry with texts beyond Latin-1, an empty text between set
// ones and a note byte that is not ASCII.
TimeEntry fullEntry() {
    TimeEntry e = test::fullEntry();
    e.status = EntryStatus::Paid;
    e.rateType = RateType::Discount;
    e.project = QStringLiteral("Web ✓");
    e.billTo = QStringLiteral("Jane");
    e.custom2 = QString();
    e.note = QByteArray("note\0\xff bytes", 12);
    return e;
}

ExpenseEntry fullExpense() {
    ExpenseEntry x;
    x.status = EntryStatus::Billed;
    x.type = ExpenseType::Mileage;
    x.date = at(2026, 3, 4, 5);
    x.description = QStringLiteral("Drive");
    x.client = QStringLiteral("Acme");
    x.project = QStringLiteral("P");
    x.startOdometer = 1000;
    x.distance = 42;
    x.receipt = true;
    x.currency = QStringLiteral("USD");
    x.amount = 55;
    x.paidDate = at(2026, 4, 1);
    x.billTo = QStringLiteral("B");
    x.custom1 = QStringLiteral("1");
    x.custom2 = QStringLiteral("2");
    x.category = QStringLiteral("Cat");
    x.modified = at(2026, 3, 5);
    x.note = QStringLiteral("n");
    return x;
}

}  // namespace

class BackupFileTest : public test::EnvironmentTest {
    Q_OBJECT

    int m_files = 0;

    QString nextPath() { return m_env->filePath(QStringLiteral("s%1.bin").arg(m_files++)); }

private Q_SLOTS:

    void entryOfEachVersion_data() {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("zeroModified");
        QTest::newRow("220 paid") << 220u << int(EntryStatus::Paid) << false;
        QTest::newRow("220 billable") << 220u << int(EntryStatus::Billable) << false;
        QTest::newRow("250") << 250u << int(EntryStatus::Billed) << false;
        QTest::newRow("260") << 260u << int(EntryStatus::Paid) << false;
        QTest::newRow("260 without modified time") << 260u << int(EntryStatus::Paid) << true;
        QTest::newRow("300") << 300u << int(EntryStatus::Paid) << false;
    }
    void entryOfEachVersion() {
        QFETCH(quint32, version);
        QFETCH(int, status);
        QFETCH(bool, zeroModified);
        TimeEntry written = fullEntry();
        written.status = EntryStatus(status);
        if (zeroModified)
            written.modified = FileTime();
        OneStream in = oneStream(
            nextPath(), [&](CompoundStream& s) { test::writeEntryOfVersion(s, version, written); });

        TimeEntry expected = written;
        if (version < 300)
            expected.breakTime = 0;
        if (version <= 220)
            expected.paidDate = FileTime();
        if (version < 251)
            expected.modified = FileTime();
        else if (zeroModified)
            expected.modified = Clock::nowFileTime();
        TimeEntry read;
        QVERIFY(BackupFile::readEntry(in.stream, version, Clock::nowFileTime(), read));
        QCOMPARE(read, expected);
        QCOMPARE(in.stream.remaining(), 0);
    }

    // Our writer against the layout as other readers expect it.
    void writerMatchesTheLayout() {
        const TimeEntry e = fullEntry();
        QCOMPARE(
            bytesOf(oneStream(nextPath(),
                              [&](CompoundStream& s) { QVERIFY(BackupFile::writeEntry(s, e)); })),
            bytesOf(oneStream(nextPath(),
                              [&](CompoundStream& s) { test::writeEntryOfVersion(s, 300, e); })));
        const Rate r =
            test::sampleRate(3, QStringLiteral("Std"), RateType::Fixed, 12345, at(2020, 5, 6));
        QCOMPARE(bytesOf(oneStream(
                     nextPath(), [&](CompoundStream& s) { QVERIFY(BackupFile::writeRate(s, r)); })),
                 bytesOf(oneStream(
                     nextPath(), [&](CompoundStream& s) { test::writeRateOfVersion(s, 300, r); })));

        const ExpenseEntry x = fullExpense();
        const QByteArray ours = bytesOf(oneStream(
            nextPath(), [&](CompoundStream& s) { QVERIFY(BackupFile::writeExpense(s, x)); }));
        const QByteArray layout = bytesOf(oneStream(nextPath(), [&](CompoundStream& s) {
            s.writeUInt16(2);
            s.writeUInt16(1);
            s.writeUInt64(x.date.ticks);
            for (const char* t : {"Drive", "Acme", "P"})
                s.writeString(QString::fromLatin1(t));
            s.writeInt32(1000);
            s.writeInt32(42);
            s.writeUInt16(1);
            s.writeString(QStringLiteral("USD"));
            s.writeInt32(55);
            s.writeUInt64(x.paidDate.ticks);
            for (const char* t : {"B", "1", "2", "Cat"})
                s.writeString(QString::fromLatin1(t));
            s.writeUInt64(x.modified.ticks);
            s.writeString(QStringLiteral("n"));
        }));
        QCOMPARE(ours, layout);
        ExpenseEntry back;
        OneStream in = oneStream(nextPath(), [&](CompoundStream& s) { s.writeBytes(ours); });
        QVERIFY(BackupFile::readExpense(in.stream, FileTime(), back));
        QCOMPARE(back, x);
    }

    // A record cut anywhere cannot be read: nothing half-read is stored.
    void cutRecordsFail() {
        const QByteArray entry = bytesOf(oneStream(
            nextPath(), [&](CompoundStream& s) { BackupFile::writeEntry(s, fullEntry()); }));
        const QByteArray expense = bytesOf(oneStream(
            nextPath(), [&](CompoundStream& s) { BackupFile::writeExpense(s, fullExpense()); }));
        const QByteArray rate = bytesOf(oneStream(nextPath(), [&](CompoundStream& s) {
            BackupFile::writeRate(
                s, test::sampleRate(0, QStringLiteral("D"), RateType::Normal, 1, at(2020, 1, 1)));
        }));
        for (int cut = 0; cut < entry.size(); cut += 3) {
            OneStream in =
                oneStream(nextPath(), [&](CompoundStream& s) { s.writeBytes(entry.left(cut)); });
            TimeEntry e;
            QVERIFY2(!BackupFile::readEntry(in.stream, 300, FileTime(), e),
                     qPrintable(QString::number(cut)));
        }
        for (int cut = 0; cut < expense.size(); cut += 3) {
            OneStream in =
                oneStream(nextPath(), [&](CompoundStream& s) { s.writeBytes(expense.left(cut)); });
            ExpenseEntry x;
            QVERIFY(!BackupFile::readExpense(in.stream, FileTime(), x));
        }
        for (int cut = 0; cut < rate.size(); ++cut) {
            OneStream in =
                oneStream(nextPath(), [&](CompoundStream& s) { s.writeBytes(rate.left(cut)); });
            Rate r;
            QVERIFY(!BackupFile::readRate(in.stream, 300, FileTime(), r));
        }
    }

    void noteSizes_data() {
        QTest::addColumn<qint32>("size");
        QTest::addColumn<int>("bytesFollowing");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("noteSize");
        QTest::newRow("none") << 0 << 0 << true << 0;
        QTest::newRow("none, bytes behind are not a note") << 0 << 4 << true << 0;
        QTest::newRow("negative") << -5 << 0 << true << 0;
        QTest::newRow("n bytes") << 7 << 7 << true << 7;
        QTest::newRow("more bytes than the size") << 7 << 9 << true << 7;
        QTest::newRow("size beyond the stream") << 7 << 6 << false << 0;
        QTest::newRow("huge size") << 0x7FFFFFFF << 3 << false << 0;
    }
    void noteSizes() {
        QFETCH(qint32, size);
        QFETCH(int, bytesFollowing);
        QFETCH(bool, readable);
        QFETCH(int, noteSize);
        TimeEntry e = fullEntry();
        e.note.clear();
        QByteArray bytes = bytesOf(
            oneStream(nextPath(), [&](CompoundStream& s) { BackupFile::writeEntry(s, e); }));
        bytes.chop(4);
        OneStream in = oneStream(nextPath(), [&](CompoundStream& s) {
            s.writeBytes(bytes);
            s.writeInt32(size);
            s.writeBytes(QByteArray(bytesFollowing, 'x'));
        });
        TimeEntry read;
        QCOMPARE(BackupFile::readEntry(in.stream, 300, FileTime(), read), readable);
        if (readable) {
            QCOMPARE(read.noteSize(), noteSize);
            QCOMPARE(read.note, QByteArray(noteSize, 'x'));
        }
    }

    void expenseReceiptAndModified_data() {
        QTest::addColumn<quint16>("receipt");
        QTest::addColumn<bool>("set");
        QTest::newRow("0") << quint16(0) << false;
        QTest::newRow("1") << quint16(1) << true;
        QTest::newRow("2") << quint16(2) << false;
    }
    void expenseReceiptAndModified() {
        QFETCH(quint16, receipt);
        QFETCH(bool, set);
        ExpenseEntry x = fullExpense();
        x.modified = FileTime();
        QByteArray bytes = bytesOf(
            oneStream(nextPath(), [&](CompoundStream& s) { BackupFile::writeExpense(s, x); }));
        // The receipt word follows status, type, date, three strings and two numbers.
        const int offset = 2 + 2 + 8 + (4 + 10) + (4 + 8) + (4 + 2) + 4 + 4;
        bytes[offset] = char(receipt & 0xFF);
        bytes[offset + 1] = char(receipt >> 8);
        OneStream in = oneStream(nextPath(), [&](CompoundStream& s) { s.writeBytes(bytes); });
        ExpenseEntry read;
        QVERIFY(BackupFile::readExpense(in.stream, Clock::nowFileTime(), read));
        QCOMPARE(read.receipt, set);
        QCOMPARE(read.modified, Clock::nowFileTime());
    }

    void rateModifiedTimes_data() {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<FileTime>("written");
        QTest::addColumn<FileTime>("expected");
        const FileTime now = fileTimeOf(test::TestEnvironment::fixedNow());
        QTest::newRow("250 carries none") << 250u << at(2020, 1, 1) << FileTime();
        QTest::newRow("260 kept") << 260u << at(2020, 1, 1) << at(2020, 1, 1);
        QTest::newRow("1900 kept") << 300u << at(1900, 1, 1) << at(1900, 1, 1);
        QTest::newRow("before 1900") << 300u << at(1899, 12, 31, 23, 59) << now;
        QTest::newRow("zero") << 300u << FileTime() << now;
    }
    void rateModifiedTimes() {
        QFETCH(quint32, version);
        QFETCH(FileTime, written);
        QFETCH(FileTime, expected);
        const Rate r = test::sampleRate(0, QStringLiteral("D"), RateType::Weekend, 1234, written);
        OneStream in = oneStream(
            nextPath(), [&](CompoundStream& s) { test::writeRateOfVersion(s, version, r); });
        Rate read;
        QVERIFY(BackupFile::readRate(in.stream, version, Clock::nowFileTime(), read));
        QCOMPARE(read.modified, expected);
        QCOMPARE(read.rateType, RateType::Weekend);
        QCOMPARE(read.rate, 1234);
        QCOMPARE(read.description, QStringLiteral("D"));
        QCOMPARE(read.flag, true);
        QCOMPARE(in.stream.remaining(), 0);
    }
};

TEMPOLATCH_TEST(BackupFileTest);
#include "BackupFileTest.moc"
