#include "notes/VoiceCodec.h"

#include <opus.h>

namespace tempolatch {

namespace {

// Opus packets carry at most 120 ms.
constexpr int MaxPacketMs = 120;
// What a packet can code to, at the highest rate the codec decodes.
constexpr int MaxPacketBytes = 1275;

}  // namespace

VoiceEncoder::VoiceEncoder() {
    int error = OPUS_OK;
    m_encoder = opus_encoder_create(SampleRate, 1, OPUS_APPLICATION_VOIP, &error);
    if (error != OPUS_OK) {
        m_encoder = nullptr;
        return;
    }
    opus_encoder_ctl(m_encoder, OPUS_SET_BITRATE(Bitrate));
    opus_encoder_ctl(m_encoder, OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
    opus_int32 lookahead = 0;
    opus_encoder_ctl(m_encoder, OPUS_GET_LOOKAHEAD(&lookahead));
    m_clip.codec = NoteClip::Opus;
    m_clip.sampleRate = SampleRate;
    m_clip.preSkip = quint32(lookahead);
}

VoiceEncoder::~VoiceEncoder() {
    if (m_encoder)
        opus_encoder_destroy(m_encoder);
}

void VoiceEncoder::encodeFrame(const qint16* frame) {
    unsigned char packet[MaxPacketBytes];
    const opus_int32 size = opus_encode(m_encoder, frame, FrameSamples, packet, sizeof packet);
    // A frame the codec cannot code is left out; the clip's duration is
    // what was recorded, so it plays that much shorter, never longer.
    if (size > 0)
        m_clip.packets.append(QByteArray(reinterpret_cast<const char*>(packet), size));
}

void VoiceEncoder::push(const qint16* samples, qsizetype count) {
    if (!m_encoder || count <= 0)
        return;
    m_pushed += count;
    m_pending.append(QList<qint16>(samples, samples + count));
    qsizetype at = 0;
    for (; at + FrameSamples <= m_pending.size(); at += FrameSamples)
        encodeFrame(m_pending.constData() + at);
    m_pending.remove(0, at);
}

NoteClip VoiceEncoder::finish() {
    if (!m_encoder)
        return {};
    const qint64 left = m_pushed + m_clip.preSkip - qint64(m_clip.packets.size()) * FrameSamples;
    const qint64 frames = (left + FrameSamples - 1) / FrameSamples;
    m_pending.resize(qMax<qint64>(frames, 0) * FrameSamples, 0);
    for (qsizetype at = 0; at < m_pending.size(); at += FrameSamples)
        encodeFrame(m_pending.constData() + at);
    m_pending.clear();
    m_clip.duration = quint32(m_pushed);
    return m_clip;
}

std::optional<QList<qint16>> decodeVoice(const NoteClip& clip) {
    if (clip.damaged || clip.codec != NoteClip::Opus)
        return std::nullopt;
    int error = OPUS_OK;
    OpusDecoder* decoder = opus_decoder_create(opus_int32(clip.sampleRate), 1, &error);
    if (error != OPUS_OK)
        return std::nullopt;
    const int maxSamples = int(clip.sampleRate) * MaxPacketMs / 1000;
    QList<qint16> out;
    out.reserve(qsizetype(clip.preSkip) + clip.duration + maxSamples);
    bool ok = true;
    for (const QByteArray& packet : clip.packets) {
        const qsizetype at = out.size();
        out.resize(at + maxSamples);
        const int n =
            opus_decode(decoder, reinterpret_cast<const unsigned char*>(packet.constData()),
                        opus_int32(packet.size()), out.data() + at, maxSamples, 0);
        if (n < 0) {
            ok = false;
            break;
        }
        out.resize(at + n);
    }
    opus_decoder_destroy(decoder);
    if (!ok)
        return std::nullopt;
    out.remove(0, qMin(out.size(), qsizetype(clip.preSkip)));
    // Packets that hold less than the duration claims end in silence.
    out.resize(clip.duration, 0);
    return out;
}

}  // namespace tempolatch
