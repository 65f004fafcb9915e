#include "NoteTestSupport.h"
#include "common/TestRegistry.h"
#include "notes/NoteData.h"
#include "notes/VoiceCodec.h"

using namespace tempolatch;
using test::rms;
using test::snrDb;

class VoiceCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    // Two seconds of 440 Hz through the coder, the note bytes and back.
    // Opus at 16 kbit/s is made for speech, not for a copy of the waveform;
    // this tone comes back at 12.7 dB. The threshold of 10 dB leaves room
    // for another build of the codec and is far above what the faults this
    // test is for give: a clip off by its pre-skip of 104 samples (the
    // tone's phase turned by 310 degrees: 1.5 dB) or decoded at another
    // rate (about 0 dB).
    void toneRoundTrips() {
        const QList<qint16> tone = test::tone(2.0);
        VoiceEncoder encoder;
        QVERIFY(encoder.isValid());
        // In uneven pieces, as a sound device hands them over.
        for (qsizetype at = 0; at < tone.size(); at += 1000)
            encoder.push(tone.mid(at, 1000));
        NoteContent content;
        content.clips = {encoder.finish()};
        const NoteData note = NoteData::fromBytes(NoteData::encode(content));
        QCOMPARE(note.kind(), NoteData::Kind::Native);
        const NoteClip clip = note.content().clips.value(0);

        QCOMPARE(clip.duration, quint32(tone.size()));
        QCOMPARE(clip.lengthText(), QStringLiteral("0:02"));
        const qsizetype frames = (tone.size() + clip.preSkip + VoiceEncoder::FrameSamples - 1) /
                                 VoiceEncoder::FrameSamples;
        QCOMPARE(clip.packets.size(), frames);
        // About 16 kbit/s: 4000 bytes for two seconds, give or take.
        QVERIFY2(note.bytes().size() > 2000 && note.bytes().size() < 6000,
                 qPrintable(QString::number(note.bytes().size())));

        const std::optional<QList<qint16>> decoded = decodeVoice(clip);
        QVERIFY(decoded);
        QCOMPARE(decoded->size(), tone.size());
        const double snr = snrDb(tone, *decoded);
        QVERIFY2(snr > 10, qPrintable(QString::number(snr)));
        const double level = 20 * std::log10(rms(*decoded, 3200, 28800) / rms(tone, 3200, 28800));
        QVERIFY2(qAbs(level) < 1, qPrintable(QString::number(level)));
    }

    // Ends that do not fill a frame, and no sound at all.
    void shortRecordings_data() {
        QTest::addColumn<int>("samples");
        QTest::newRow("nothing") << 0;
        QTest::newRow("one sample") << 1;
        QTest::newRow("one frame") << VoiceEncoder::FrameSamples;
        QTest::newRow("a frame and one") << VoiceEncoder::FrameSamples + 1;
    }
    void shortRecordings() {
        QFETCH(int, samples);
        VoiceEncoder encoder;
        encoder.push(test::tone(samples / 16000.0));
        const NoteClip clip = encoder.finish();
        QCOMPARE(clip.duration, quint32(samples));
        const std::optional<QList<qint16>> decoded = decodeVoice(clip);
        QVERIFY(decoded);
        QCOMPARE(decoded->size(), samples);
    }

    void refusedPacketsDoNotDecode() {
        VoiceEncoder encoder;
        encoder.push(test::tone(0.1));
        NoteClip clip = encoder.finish();
        QVERIFY(decodeVoice(clip));
        clip.packets[1] = QByteArray("\xff\xff\xff", 3);  // code 3, a frame count of 63: invalid
        QVERIFY(!decodeVoice(clip));
        clip.damaged = true;
        QVERIFY(!decodeVoice(clip));
    }
};

TEMPOLATCH_TEST(VoiceCodecTest);
#include "VoiceCodecTest.moc"
