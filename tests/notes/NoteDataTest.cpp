#include <zlib.h>

#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"

using namespace tempolatch;

namespace {

// Our header around a payload the test makes up, with a correct checksum,
// so that the parser's own checks are what stops it.
QByteArray withHeader(const QByteArray& stored, quint8 flags = 0) {
    QByteArray out("\x89TLN", 4);
    out.append(char(NoteData::Version));
    out.append(char(flags));
    const quint32 crc =
        quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(stored.constData()),
                      uInt(stored.size())));
    for (int i = 0; i < 4; ++i)
        out.append(char(crc >> (8 * i)));
    return out + stored;
}

}  // namespace

class NoteDataTest : public test::EnvironmentTest {
    Q_OBJECT

private Q_SLOTS:

    void roundTrips_data() {
        QTest::addColumn<NoteContent>("content");
        const NoteContent all = test::sampleContent();
        NoteContent textOnly;
        textOnly.text = all.text;
        NoteContent strokesOnly;
        strokesOnly.strokes = all.strokes;
        NoteContent long_;
        for (int i = 0; i < 300; ++i)
            long_.text.paragraphs.append(test::paragraph(
                {{QStringLiteral("Line %1 of a long note").arg(i), quint8(i % 8)}}));
        QTest::newRow("text and strokes") << all;
        QTest::newRow("text only") << textOnly;
        QTest::newRow("strokes only") << strokesOnly;
        QTest::newRow("long, deflated") << long_;
    }
    void roundTrips() {
        QFETCH(NoteContent, content);
        const QByteArray bytes = NoteData::encode(content);
        QVERIFY(bytes.startsWith("\x89TLN"));
        const NoteData note = NoteData::fromBytes(bytes);
        QCOMPARE(note.kind(), NoteData::Kind::Native);
        QCOMPARE(note.content(), content);
        QCOMPARE(note.bytes(), bytes);
        // The same content always gives the same bytes.
        QCOMPARE(NoteData::encode(note.content()), bytes);
    }

    void longNotesAreDeflated() {
        NoteContent c;
        for (int i = 0; i < 300; ++i)
            c.text.paragraphs.append(test::paragraph({{QStringLiteral("Repeated line"), 0}}));
        const QByteArray bytes = NoteData::encode(c);
        QCOMPARE(quint8(bytes[5]) & 1, 1);
        QVERIFY(bytes.size() < 300);
    }

    void emptyContentIsNoNote() {
        NoteContent c;
        c.text.paragraphs = {test::paragraph({}), test::paragraph({}, NoteList::Bullet)};
        c.strokes = {NoteStroke{}};  // a stroke without points is no drawing
        QVERIFY(NoteData::encode(c).isEmpty());
        QCOMPARE(NoteData::fromBytes({}).kind(), NoteData::Kind::Empty);
        QVERIFY(NoteData::fromBytes({}).isReadable());
    }

    void foreignBytesAreKept_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("another program's block")
            << QByteArray::fromHex("0100000024000000ffff0300a1b2c3d4e5f60718293a4b5c6d7e8f90");
        QTest::newRow("text") << QByteArray("just some text");
        QTest::newRow("one byte") << QByteArray("\x89", 1);
        QTest::newRow("our magic, later version")
            << QByteArray("\x89TLN\x07\x00\x00\x00\x00\x00xx", 12);
    }
    void foreignBytesAreKept() {
        QFETCH(QByteArray, bytes);
        const NoteData note = NoteData::fromBytes(bytes);
        QCOMPARE(note.kind(), NoteData::Kind::Foreign);
        QVERIFY(!note.isReadable());
        QCOMPARE(note.bytes(), bytes);
        QVERIFY(note.content().isEmpty());
    }

    // Every cut and every changed byte of a real note is caught, and costs
    // no more than the bytes themselves.
    void damagedBytesFailSafely() {
        NoteContent big;
        for (int i = 0; i < 50; ++i)
            big.text.paragraphs.append(test::paragraph({{QStringLiteral("Line %1").arg(i), 0}}));
        big.strokes = test::sampleContent().strokes;
        for (const QByteArray& bytes :
             {NoteData::encode(test::sampleContent()), NoteData::encode(big)}) {
            for (qsizetype n = 0; n < bytes.size(); ++n) {
                const NoteData cut = NoteData::fromBytes(bytes.left(n));
                QVERIFY2(cut.kind() != NoteData::Kind::Native, qPrintable(QString::number(n)));
                QCOMPARE(cut.bytes(), bytes.left(n));
                QByteArray flipped = bytes;
                flipped[n] = char(flipped[n] ^ 0x5A);
                QVERIFY2(NoteData::fromBytes(flipped).kind() != NoteData::Kind::Native,
                         qPrintable(QString::number(n)));
            }
        }
    }

    void hostileCountsAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        const auto damaged = int(NoteData::Kind::Damaged);
        // text section: one paragraph claiming 2^28 runs
        QTest::newRow("run count")
            << withHeader(QByteArray::fromHex("010600ffffff7f01")) << damaged;
        // strokes section: a stroke claiming 2^31 points
        QTest::newRow("point count")
            << withHeader(QByteArray::fromHex("020c000000ff64ffffffff070202")) << damaged;
        // a run longer than the section
        QTest::newRow("run length")
            << withHeader(QByteArray::fromHex("0106000100ff7f41")) << damaged;
        // deflated, claiming 4 GB from a few bytes
        QTest::newRow("inflated size")
            << withHeader(QByteArray::fromHex("ffffffff0f789c030000000001"), 1) << damaged;
        QTest::newRow("varint too long")
            << withHeader(QByteArray::fromHex("01ffffffffffffff01")) << damaged;
        QTest::newRow("unknown flags")
            << withHeader(QByteArray::fromHex("0104000100"), 0x80) << damaged;
        QTest::newRow("invalid UTF-8")
            << withHeader(QByteArray::fromHex("01060001000280ff")) << damaged;
        QTest::newRow("header only") << withHeader({}) << damaged;
    }
    void hostileCountsAreRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QCOMPARE(int(NoteData::fromBytes(bytes).kind()), kind);
    }

    void sizeLimit_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("none") << 0 << true;
        QTest::newRow("65000") << 65000 << true;
        QTest::newRow("65001") << 65001 << false;
        QTest::newRow("far over") << 1'000'000 << false;
    }
    void sizeLimit() {
        QFETCH(int, size);
        QFETCH(bool, accepted);
        QCOMPARE(acceptNoteSize(m_env->ui(), QByteArray(size, 'x')), accepted);
        if (accepted) {
            QVERIFY(m_env->ui().shown().isEmpty());
        } else {
            QCOMPARE(m_env->ui().shownTexts(),
                     QStringList{QStringLiteral("The note is too large. Please remove large voice "
                                                "recordings or drawings.")});
            QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Warning);
        }
    }
};

TEMPOLATCH_TEST(NoteDataTest);
#include "NoteDataTest.moc"
