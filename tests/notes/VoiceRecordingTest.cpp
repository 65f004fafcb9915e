#include <QLabel>
#include <QProgressBar>
#include <QTextBlock>

#include "FakeAudio.h"
#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestDates.h"
#include "common/TestRegistry.h"
#include "notes/ClipObject.h"
#include "notes/InkControl.h"
#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "notes/NoteFiles.h"
#include "notes/NoteStream.h"
#include "notes/RecordingToolbar.h"
#include "notes/VoiceCodec.h"
#include "store/RecordStore.h"
#include "store/TimeEntries.h"
#include "transfer/BackupOperation.h"

using namespace tempolatch;
namespace Cmd = NoteCommand;

namespace {

// Samples as a sound device hands them over: 100 ms at a time.
void pushInPieces(test::FakeAudioDevices& devices, const QList<qint16>& samples) {
    for (qsizetype at = 0; at < samples.size() && devices.recording; at += 1600)
        devices.recording->push(samples.mid(at, 1600));
}

// A voice-like signal: a tone whose pitch and loudness wander, with a
// little noise, so that the coder spends on it what it spends on speech.
QList<qint16> speechLike(double seconds) {
    QList<qint16> out(qsizetype(seconds * 16000));
    double phase = 0;
    quint32 noise = 12345;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const double t = double(i) / 16000;
        phase += 2 * M_PI * (160 + 60 * qSin(2 * M_PI * 1.3 * t)) / 16000;
        noise = noise * 1664525 + 1013904223;
        const double envelope = 0.3 + 0.25 * qSin(2 * M_PI * 3.1 * t);
        out[i] = qint16(qBound(-32767.0,
                               32767 * (envelope * (qSin(phase) + 0.4 * qSin(3 * phase)) +
                                        0.02 * (double(noise >> 16) / 32768 - 1)),
                               32767.0));
    }
    return out;
}

NoteClip recordedClip(double seconds) {
    VoiceEncoder encoder;
    encoder.push(test::tone(seconds));
    return encoder.finish();
}

}  // namespace

class VoiceRecordingTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<InkControl> m_ink;
    test::FakeAudioDevices m_devices;

    RecordingToolbar* bar() const { return m_ink->recordingToolbar(); }
    NoteContent content() const { return NoteData::fromBytes(m_ink->noteData()).content(); }
    QString label(const char* name) const {
        return bar()->findChild<QLabel*>(QLatin1String(name))->text();
    }
    void pressCtrlR() { QTest::keyClick(m_ink->surface(), Qt::Key_R, Qt::ControlModifier); }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        QVERIFY(m_env->store().openAll());
        m_devices = {};
        m_ink = std::make_unique<InkControl>(m_env->ui());
        m_ink->setAudioDevices(m_devices);
        m_ink->resize(600, 300);
        m_ink->show();
        m_ink->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_ink.get()));
        m_ink->surface()->setFocus();
    }
    void cleanup() {
        m_ink.reset();
        EnvironmentTest::cleanup();
    }

    // Ctrl+R shows the bar and records where the cursor was; what comes out
    // of the entry saved and read back is the tone that went in.
    void recordsWhereTheCursorWasAndPlaysBack() {
        QTest::keyClicks(m_ink->surface(), QStringLiteral("before after"));
        QTextCursor cursor = m_ink->surface()->textCursor();
        cursor.setPosition(7);
        m_ink->surface()->setTextCursor(cursor);
        QVERIFY(!m_ink->isChecked(Cmd::RecordingToolbar));

        pressCtrlR();
        QVERIFY(m_ink->isChecked(Cmd::RecordingToolbar));
        QVERIFY(bar()->isRecording());
        QVERIFY(!m_ink->isEnabled(Cmd::Record));
        QVERIFY(m_ink->isEnabled(Cmd::StopVoice));
        const QList<qint16> tone = test::tone(2.0);
        pushInPieces(m_devices, tone.first(16000));
        QCOMPARE(label("elapsedLabel"), QStringLiteral("0:01"));
        QVERIFY(bar()->findChild<QProgressBar*>(QStringLiteral("levelMeter"))->value() > 80);
        const int roomAfterOne = label("roomLabel").section(QLatin1Char(' '), 0, 0).toInt();
        // Typing on while recording moves the place the clip goes.
        cursor.setPosition(0);
        cursor.insertText(QStringLiteral(">"));
        pushInPieces(m_devices, tone.sliced(16000));
        const int roomAfterTwo = label("roomLabel").section(QLatin1Char(' '), 0, 0).toInt();
        QVERIFY2(roomAfterTwo < roomAfterOne && roomAfterOne <= 32, qPrintable(label("roomLabel")));
        pressCtrlR();
        QVERIFY(!bar()->isRecording());
        QVERIFY(m_ink->isModified());
        QCOMPARE(noteToPlainText(m_ink->noteData()),
                 QStringLiteral(">before [voice note 0:02]after"));

        TimeEntry entry;
        entry.date = test::at(2026, 12, 7, 9);
        entry.duration = 100;
        entry.note = m_ink->noteData();
        TimeEntries entries(m_env->store());
        QCOMPARE(entries.add(entry), WriteResult::Written);
        const NoteData stored = NoteData::fromBytes(entries.find(entry.recordId)->note);
        QCOMPARE(stored.content().clips.size(), 1);
        const NoteClip clip = stored.content().clips.first();
        QCOMPARE(qsizetype(clip.duration), tone.size());
        const std::optional<QList<qint16>> decoded = decodeVoice(clip);
        QVERIFY(decoded);
        // The threshold of VoiceCodecTest, for the same reasons.
        QVERIFY(test::snrDb(tone, *decoded) > 10);

        // Loaded again, a click on the clip plays it; Play/Pause pauses.
        m_ink->setNoteData(entry.note);
        const int at = 8;  // after ">before "
        QTextCursor onClip(m_ink->surface()->document());
        onClip.setPosition(at);
        const QPoint point = m_ink->surface()->cursorRect(onClip).center() + QPoint(6, 0);
        QCOMPARE(m_ink->surface()->clipPositionAt(point), at);
        QTest::mouseClick(m_ink->surface()->viewport(), Qt::LeftButton, {}, point);
        QVERIFY(m_devices.playing);
        QCOMPARE(m_devices.playing->samples, *decoded);
        QCOMPARE(m_devices.playing->sampleRate, 16000);
        QVERIFY(m_ink->execute(Cmd::PlayPause));
        QVERIFY(m_devices.playing->paused);
        QVERIFY(m_ink->execute(Cmd::PlayPause));
        QVERIFY(!m_devices.playing->paused);
        m_devices.playing->playToTheEnd();
        QVERIFY(!bar()->isPlaying());
        QVERIFY(!m_ink->isModified());
    }

    // Reading the note to keep it (OK, a switch of timers) ends a
    // recording in progress and keeps it.
    void readingTheNoteEndsTheRecording() {
        m_ink->setNoteData({});
        QVERIFY(m_ink->execute(Cmd::Record));
        pushInPieces(m_devices, test::tone(1.0));
        QVERIFY(m_ink->isModified());
        QVERIFY(!bar()->isRecording());
        QCOMPARE(noteToPlainText(m_ink->noteData()), QStringLiteral("[voice note 0:01]"));
    }

    // Loading another note (the next timer's) ends the recording; its clip
    // stays out of the note loaded, which comes as it was given.
    void loadingANoteEndsTheRecordingWithoutTheClip() {
        QVERIFY(m_ink->execute(Cmd::Record));
        pushInPieces(m_devices, test::tone(1.0));
        const QByteArray next = NoteData::encode(test::sampleContent());
        m_ink->setNoteData(next);
        QVERIFY(!bar()->isRecording());
        QVERIFY(!m_ink->isModified());
        QCOMPARE(m_ink->noteData(), next);
        // What the control shows, too: edited, it gives the same content.
        m_ink->setModified(true);
        QCOMPARE(content(), test::sampleContent());
    }

    // However much is said, the note stays within what the Note page
    // saves, and only just: the recording stops itself.
    void stopsJustUnderTheLimit_data() {
        QTest::addColumn<int>("textLines");
        QTest::newRow("empty note") << 0;
        QTest::newRow("a long text") << 400;
    }
    void stopsJustUnderTheLimit() {
        QFETCH(int, textLines);
        QStringList lines;
        for (int i = 0; i < textLines; ++i)
            lines.append(QStringLiteral("Line %1 of what was agreed, %2").arg(i).arg(i * 7919));
        NoteContent start;
        start.text = NoteText::fromPlainText(lines.join(QLatin1Char('\n')));
        m_ink->setNoteData(NoteData::encode(start));
        QVERIFY(m_ink->execute(Cmd::Record));
        pushInPieces(m_devices, speechLike(60));
        QVERIFY(!bar()->isRecording());
        const QByteArray note = m_ink->noteData();
        QVERIFY2(note.size() <= NoteData::MaxSavedSize && note.size() > 64'500,
                 qPrintable(QString::number(note.size())));
        QVERIFY(acceptNoteSize(m_env->ui(), note));
        QCOMPARE(content().clips.size(), 1);
        QVERIFY(content().clips.first().durationMs() > (textLines ? 10'000 : 25'000));
        // Full: a new recording does not start.
        QVERIFY(m_ink->execute(Cmd::Record));
        QVERIFY(!bar()->isRecording());
        QCOMPARE(m_env->ui().shown().size(), 1);
        QCOMPARE(m_ink->noteData(), note);
    }

    // Without a microphone or speakers the user is told, and the note
    // stays as it was.
    void noDeviceChangesNothing() {
        NoteContent c = test::contentWithClips();
        c.clips = {recordedClip(0.5), recordedClip(0.5)};
        const QByteArray bytes = NoteData::encode(c);
        m_ink->setNoteData(bytes);
        m_devices.hasInput = false;
        m_devices.hasOutput = false;
        pressCtrlR();
        QVERIFY(!bar()->isRecording());
        QCOMPARE(m_env->ui().shownTexts(), QStringList{QStringLiteral("No microphone.")});
        QCOMPARE(m_env->ui().shown().first().icon, platform::MessageIcon::Warning);

        QTextCursor cursor(m_ink->surface()->document());
        cursor.movePosition(QTextCursor::End);
        m_ink->surface()->setTextCursor(cursor);
        QVERIFY(m_ink->isEnabled(Cmd::PlayPause));
        QVERIFY(m_ink->execute(Cmd::PlayPause));
        QCOMPARE(m_env->ui().shownTexts().last(), QStringLiteral("No speakers."));
        QVERIFY(!bar()->isPlaying());
        QVERIFY(!m_ink->isModified());
        QCOMPARE(m_ink->noteData(), bytes);
    }

    // Delete Clip takes the clip next to the cursor, as one undo step; a
    // damaged clip shows and stays, and is not played.
    void deleteUndoAndDamagedClips() {
        NoteContent c;
        c.text = NoteText::fromPlainText(QStringLiteral("a\uFFFCb\uFFFC"));
        NoteClip damaged;
        damaged.damaged = true;
        damaged.raw = "\x02garbage";
        c.clips = {recordedClip(0.5), damaged};
        const QByteArray bytes = NoteData::encode(c);
        m_ink->setNoteData(bytes);
        QCOMPARE(noteToPlainText(m_ink->noteData()),
                 QStringLiteral("a[voice note 0:01]b[voice note, damaged]"));
        QTextCursor cursor(m_ink->surface()->document());
        cursor.movePosition(QTextCursor::End);
        m_ink->surface()->setTextCursor(cursor);
        QVERIFY(m_ink->isEnabled(Cmd::DeleteClip));
        QVERIFY(!m_ink->isEnabled(Cmd::PlayPause));

        cursor.setPosition(2);
        m_ink->surface()->setTextCursor(cursor);
        QVERIFY(m_ink->isEnabled(Cmd::PlayPause));
        QVERIFY(m_ink->execute(Cmd::DeleteClip));
        QCOMPARE(noteToPlainText(m_ink->noteData()), QStringLiteral("ab[voice note, damaged]"));
        QCOMPARE(content().clips, QList<NoteClip>{damaged});
        QVERIFY(m_ink->execute(Cmd::Undo));
        QCOMPARE(content(), NoteData::fromBytes(bytes).content());
        // Edited, the note keeps the damaged clip's bytes.
        QTest::keyClicks(m_ink->surface(), QStringLiteral("!"));
        QCOMPARE(content().clips.last(), damaged);
    }

    // A note of text, strokes and two clips goes through the store, a
    // backup and its restore, and a note file, and comes back the same
    // bytes each time.
    void roundTripsByteForByte() {
        NoteContent c = test::sampleContent();
        c.text.paragraphs.append(test::paragraph({{QStringLiteral("agreed \uFFFC"), 0}}));
        c.text.paragraphs.append(test::paragraph({{QStringLiteral("\uFFFC"), NoteBold}}));
        c.clips = {recordedClip(2.0), recordedClip(0.3)};
        const QByteArray bytes = NoteData::encode(c);
        QCOMPARE(NoteData::fromBytes(bytes).content(), c);

        // Through the control, unchanged and changed back.
        m_ink->setNoteData(bytes);
        QCOMPARE(m_ink->noteData(), bytes);
        m_ink->setModified(true);
        QCOMPARE(NoteData::fromBytes(m_ink->noteData()).content(), c);
        QCOMPARE(m_ink->noteData(), bytes);

        TimeEntry entry;
        entry.date = test::at(2026, 12, 7, 9);
        entry.duration = 50;
        entry.note = bytes;
        TimeEntries entries(m_env->store());
        QCOMPARE(entries.add(entry), WriteResult::Written);
        const QString backup = m_env->filePath(QStringLiteral("all.tld"));
        QVERIFY(BackupOperation(m_env->store()).backup(backup));
        QVERIFY(entries.remove(entry.recordId) == WriteResult::Written);
        QCOMPARE(BackupOperation(m_env->store()).restore(backup), int(BackupOperation::RestoreOk));
        QByteArray restored;
        entries.forEach([&restored](const TimeEntry& e) {
            restored = e.note;
            return true;
        });
        QCOMPARE(restored, bytes);

        const QString file = m_env->filePath(QStringLiteral("note.psw"));
        QVERIFY(NoteFiles::save(file, NoteData::fromBytes(restored), NoteStreamFormat::NoteFile));
        const std::optional<NoteData> loaded = NoteFiles::load(file, NoteStreamFormat::NoteFile);
        QVERIFY(loaded);
        QCOMPARE(loaded->bytes(), bytes);
    }
};

TEMPOLATCH_TEST(VoiceRecordingTest);
#include "VoiceRecordingTest.moc"
