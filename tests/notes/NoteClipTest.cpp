#include <zlib.h>

#include "NoteTestSupport.h"
#include "common/TestRegistry.h"
#include "notes/NoteBytes.h"
#include "notes/NoteClipSection.h"
#include "notes/NoteData.h"
#include "notes/NoteStream.h"
#include "notes/RtfReader.h"

using namespace tempolatch;
using test::madeUpClip;
using test::paragraph;

namespace {

// A note of the given payload sections, undeflated, with a correct
// checksum, so that only the sections' own checks can stop it.
QByteArray noteOf(const QList<QPair<quint8, QByteArray>>& sections) {
    notebytes::Writer payload;
    for (const auto& [tag, body] : sections)
        payload.section(tag, body);
    const QByteArray stored = payload.data();
    notebytes::Writer out;
    out.bytes(QByteArray("\x89TLN", 4));
    out.byte(NoteData::Version);
    out.byte(0);
    out.u32(quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(stored.constData()),
                          uInt(stored.size()))));
    out.bytes(stored);
    return out.data();
}

QByteArray textSection(const QString& text) {
    NoteContent c;
    c.text = NoteText::fromPlainText(text);
    const NoteData note = NoteData::fromContent(c);
    // The one section of an undeflated note follows the 10-byte header.
    notebytes::Reader r(QByteArrayView(note.bytes()).sliced(10));
    r.byte();
    return r.take(qsizetype(r.varint())).toByteArray();
}

QByteArray framed(const QByteArray& clipBody) {
    notebytes::Writer w;
    w.varint(quint32(clipBody.size()));
    w.bytes(clipBody);
    return w.data();
}

// codec, rate, pre-skip, duration, packet count, then the packets as given.
QByteArray clipBody(quint8 codec, quint32 rate, quint32 duration, quint32 count,
                    const QByteArray& packets) {
    notebytes::Writer w;
    w.byte(codec);
    w.varint(rate);
    w.varint(0);
    w.varint(duration);
    w.varint(count);
    w.bytes(packets);
    return w.data();
}

const QByteArray GoodClip = NoteClipSection::encode({madeUpClip(3)});

}  // namespace

class NoteClipTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void clipsRoundTripWithTheRest() {
        const NoteContent content = test::contentWithClips();
        const QByteArray bytes = NoteData::encode(content);
        const NoteData note = NoteData::fromBytes(bytes);
        QCOMPARE(note.kind(), NoteData::Kind::Native);
        QCOMPARE(note.content(), content);
        QCOMPARE(NoteData::encode(note.content()), bytes);
        // A clip is one varint frame around its packets: 600 packets of
        // 40-46 bytes cost their bytes and a byte of length each.
        qsizetype packetBytes = 0;
        for (const QByteArray& p : content.clips[0].packets)
            packetBytes += p.size() + 1;
        QVERIFY(NoteClipSection::storedSize(content.clips[0]) < packetBytes + 16);
    }

    // What a later version adds is carried through an edit of what this
    // version knows.
    void unknownSectionsAreKept() {
        const QByteArray bytes =
            noteOf({{1, textSection(QStringLiteral("hello"))}, {9, "future"}, {12, ""}});
        NoteData note = NoteData::fromBytes(bytes);
        QCOMPARE(note.kind(), NoteData::Kind::Native);
        QCOMPARE(note.content().toPlainText(), QStringLiteral("hello"));
        NoteContent edited = note.content();
        edited.text = NoteText::fromPlainText(QStringLiteral("hello again"));
        const NoteData reread = NoteData::fromBytes(NoteData::encode(edited));
        QCOMPARE(reread.content().otherSections, (QList<NoteSection>{{9, "future"}, {12, ""}}));
        // Only a section alone is a note too.
        QCOMPARE(NoteData::fromBytes(noteOf({{9, "x"}})).kind(), NoteData::Kind::Native);
        // A known section twice is still damage.
        QCOMPARE(NoteData::fromBytes(noteOf({{3, GoodClip}, {3, GoodClip}})).kind(),
                 NoteData::Kind::Damaged);
    }

    // A broken clip costs that clip only: the note reads, the clip is kept
    // with its bytes and shows as damaged, and the clips around it play.
    void damagedClipsAreKept_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("damagedAt");
        auto packets = [](int n, int size) {
            QByteArray out;
            for (int i = 0; i < n; ++i)
                out += char(size) + QByteArray(size, 'p');
            return out;
        };
        QTest::newRow("clip length past the section")
            << GoodClip + QByteArray::fromHex("ff01") + "short" << 1;
        QTest::newRow("clip length cut off") << GoodClip + QByteArray::fromHex("ff") << 1;
        QTest::newRow("packet past the clip")
            << framed(clipBody(1, 16000, 320, 1, "\x28" + QByteArray(10, 'p'))) + GoodClip << 0;
        QTest::newRow("bytes after the packets")
            << GoodClip + framed(clipBody(1, 16000, 320, 1, packets(1, 10) + "x")) << 1;
        QTest::newRow("unknown codec") << framed(clipBody(2, 16000, 320, 1, packets(1, 10))) << 0;
        QTest::newRow("rate the codec lacks")
            << framed(clipBody(1, 44100, 320, 1, packets(1, 10))) << 0;
        QTest::newRow("longer than its packets")
            << framed(clipBody(1, 16000, 1921, 1, packets(1, 10))) << 0;
        QTest::newRow("packet count beyond the bytes")
            << framed(clipBody(1, 16000, 320, 0x7fffffff, packets(2, 10))) << 0;
        QTest::newRow("empty packet") << framed(clipBody(1, 16000, 0, 1, "\x00")) << 0;
        QTest::newRow("empty clip") << GoodClip + framed({}) + GoodClip << 1;
        QTest::newRow("varint too long")
            << framed(QByteArray::fromHex("01ffffffffff0f0000")) + GoodClip << 0;
    }
    void damagedClipsAreKept() {
        QFETCH(QByteArray, section);
        QFETCH(int, damagedAt);
        const QByteArray bytes = noteOf({{1, textSection(QStringLiteral("call"))}, {3, section}});
        const NoteData note = NoteData::fromBytes(bytes);
        QCOMPARE(note.kind(), NoteData::Kind::Native);
        QCOMPARE(note.bytes(), bytes);
        const QList<NoteClip>& clips = note.content().clips;
        QVERIFY(damagedAt < clips.size());
        for (qsizetype i = 0; i < clips.size(); ++i) {
            QCOMPARE(clips[i].damaged, i == damagedAt);
            if (!clips[i].damaged)
                QCOMPARE(clips[i], madeUpClip(3));
        }
        QVERIFY(note.content().toPlainText().contains(QStringLiteral("[voice note, damaged]")));
        // Written again, the damaged bytes go along and read the same.
        const NoteData again = NoteData::fromBytes(NoteData::encode(note.content()));
        QCOMPARE(again.content(), note.content());
    }

    // The text forms: a clip reads as its marker where it stands; a mark
    // without a clip is left out, a clip without a mark comes last.
    void plainTextShowsMarkers_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<quint32>>("durations");
        QTest::addColumn<QString>("expected");
        const QString m{QChar(NoteClipMark)};
        QTest::newRow("two clips")
            << QStringList{QStringLiteral("agreed ") + m + QStringLiteral(" ok"), m}
            << QList<quint32>{192000, 16000 * 75}
            << QStringLiteral("agreed [voice note 0:12] ok\r\n[voice note 1:15]");
        QTest::newRow("rounding") << QStringList{m + m + m} << QList<quint32>{1, 23999, 24000}
                                  << QStringLiteral(
                                         "[voice note 0:01][voice note 0:01][voice note 0:02]");
        QTest::newRow("mark without clip")
            << QStringList{QStringLiteral("a") + m + QStringLiteral("b")} << QList<quint32>{}
            << QStringLiteral("ab");
        QTest::newRow("clip without mark")
            << QStringList{QStringLiteral("text")} << QList<quint32>{16000 * 3}
            << QStringLiteral("text\r\n[voice note 0:03]");
    }
    void plainTextShowsMarkers() {
        QFETCH(QStringList, lines);
        QFETCH(QList<quint32>, durations);
        QFETCH(QString, expected);
        NoteContent c;
        c.text = NoteText::fromPlainText(lines.join(QLatin1Char('\n')));
        for (const quint32 d : durations) {
            NoteClip clip = madeUpClip(qMax<quint32>(1, (d + 104) / 320 + 1));
            clip.duration = d;
            c.clips.append(clip);
        }
        QCOMPARE(noteToPlainText(NoteData::encode(c)), expected);
    }

    // Text and RTF files carry the marker; only the note file keeps the clip.
    void streamsCarryMarkers() {
        const NoteData note = NoteData::fromContent(test::contentWithClips());
        const QString plain = NoteStream::readText(
            NoteStream::write(note, NoteStreamFormat::UnicodeText), NoteStreamFormat::UnicodeText);
        QVERIFY(
            plain.endsWith(QStringLiteral("agreed: [voice note 0:12] then\r\n[voice note 0:01]")));
        const std::optional<NoteText> rtf =
            RtfReader::read(NoteStream::write(note, NoteStreamFormat::RichText));
        QVERIFY(rtf);
        QCOMPARE(rtf->paragraphs.last().text(), QStringLiteral("[voice note 0:01]"));
        const std::optional<NoteData> file = NoteStream::read(
            NoteStream::write(note, NoteStreamFormat::NoteFile), NoteStreamFormat::NoteFile);
        QCOMPARE(file->content().clips, note.content().clips);
    }
};

TEMPOLATCH_TEST(NoteClipTest);
#include "NoteClipTest.moc"
