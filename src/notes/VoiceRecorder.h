#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "notes/NoteContent.h"
#include "notes/VoiceCodec.h"

namespace tempolatch {

class AudioDevices;
class AudioInput;

// Records one clip for a note: samples from the input are coded as they
// come, and the recording stops by itself before the note would grow past
// the size the Note page saves (NoteData::MaxSavedSize).
class VoiceRecorder : public QObject {
    Q_OBJECT

public:
    // Kept free below the limit for what the note's own sections and the
    // last frames may add when the clip goes in.
    static constexpr qsizetype Slack = 96;

    explicit VoiceRecorder(AudioDevices& devices, QObject* parent = nullptr);
    ~VoiceRecorder() override;

    // The size of the note's bytes with a clip in it (nullptr: without).
    using NoteSize = std::function<qsizetype(const NoteClip*)>;

    // False, with a reason the user can read, when the note has no room or
    // there is no input.
    bool start(NoteSize noteSize, QString* error);
    bool isRecording() const { return m_input != nullptr; }
    // Ends the recording (if one runs) and gives the clip; a clip without
    // a sample has a duration of 0.
    NoteClip stop();

    qint64 elapsedMs() const;
    // The loudness of the latest samples, 0 (silence, -60 dB) to 1 (full scale).
    qreal level() const { return m_level; }
    // Bytes the note has left for the clip.
    qsizetype roomLeft() const;

Q_SIGNALS:
    // New samples were taken: elapsed time, level and room changed.
    void progressed();
    // The note is full: the recording stopped by itself; stop() gives the
    // clip.
    void limitReached();

private:
    void take(const QList<qint16>& samples);
    void finishRecording();
    qsizetype clipSize() const;
    qsizetype budget() const;
    bool isFull() const;

    AudioDevices& m_devices;
    std::unique_ptr<AudioInput> m_input;
    std::unique_ptr<VoiceEncoder> m_encoder;
    NoteSize m_sizeOf;
    qsizetype m_noteSize = 0;
    // What deflating the note saved on the clip, as last measured.
    qsizetype m_credit = 0;
    qsizetype m_packetBytes = 0;  // the packets coded so far, with their lengths
    qsizetype m_counted = 0;      // packets in m_packetBytes
    qsizetype m_largestPacket = 0;
    qreal m_level = 0;
    std::optional<NoteClip> m_stopped;  // a recording the limit ended
};

// Leaves out the clip's last packet, shortening its duration to match.
void dropLastPacket(NoteClip& clip);

}  // namespace tempolatch
