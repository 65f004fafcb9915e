#pragma once

#include <QList>
#include <optional>

#include "notes/NoteContent.h"

struct OpusEncoder;

namespace tempolatch {

// Speech in and out of a clip: mono 16-bit samples at 16 kHz, coded as
// Opus at about 16 kbit/s in frames of 20 ms, so that half a minute fits
// a note.
class VoiceEncoder {
public:
    static constexpr int SampleRate = 16000;
    static constexpr int FrameSamples = SampleRate / 50;
    static constexpr int Bitrate = 16000;

    VoiceEncoder();
    ~VoiceEncoder();
    VoiceEncoder(const VoiceEncoder&) = delete;
    VoiceEncoder& operator=(const VoiceEncoder&) = delete;

    // False when the codec refused to start (it then takes nothing).
    bool isValid() const { return m_encoder != nullptr; }

    // Codes every whole frame; the rest waits for the next samples.
    void push(const qint16* samples, qsizetype count);
    void push(const QList<qint16>& samples) { push(samples.constData(), samples.size()); }
    // The samples pushed so far.
    qint64 samples() const { return m_pushed; }
    // The frames coded so far.
    const NoteClip& clip() const { return m_clip; }

    // Ends the recording: the last frame padded with silence, and as much
    // silence again as the codec holds back, so that every sample pushed
    // comes out of the decoder.
    NoteClip finish();

private:
    void encodeFrame(const qint16* frame);

    OpusEncoder* m_encoder = nullptr;
    QList<qint16> m_pending;
    NoteClip m_clip;
    qint64 m_pushed = 0;
};

// The samples of a clip, exactly its duration of them; nullopt for a
// damaged clip or packets the codec refuses.
std::optional<QList<qint16>> decodeVoice(const NoteClip& clip);

}  // namespace tempolatch
