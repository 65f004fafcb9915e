#include "notes/VoiceRecorder.h"

#include <QtMath>

#include "notes/AudioDevices.h"
#include "notes/NoteClipSection.h"
#include "notes/NoteData.h"

namespace tempolatch {

namespace {

// What a clip takes in the section besides its packets: its length,
// codec, rate, pre-skip, duration and count, each at its widest.
constexpr qsizetype ClipFrameSize = 5 + 1 + 5 + 5 + 5 + 5;
constexpr qreal SilenceDb = -60;

qsizetype varintSize(qsizetype value) {
    qsizetype n = 1;
    for (; value >= 0x80; value >>= 7)
        ++n;
    return n;
}

qreal levelOf(const QList<qint16>& samples) {
    double sum = 0;
    for (const qint16 s : samples)
        sum += double(s) * s;
    const double rms = qSqrt(sum / qMax<qsizetype>(samples.size(), 1)) / 32768.0;
    const qreal db = rms > 0 ? 20 * std::log10(rms) : SilenceDb;
    return qBound(0.0, 1.0 - db / SilenceDb, 1.0);
}

QString noRoomText() {
    return QStringLiteral(
        "The note has no room left for a voice recording. Please remove large voice "
        "recordings or drawings.");
}

}  // namespace

VoiceRecorder::VoiceRecorder(AudioDevices& devices, QObject* parent)
    : QObject(parent), m_devices(devices) {}

VoiceRecorder::~VoiceRecorder() {
    if (m_input)
        m_input->stop();
}

bool VoiceRecorder::start(NoteSize noteSize, QString* error) {
    stop();
    m_sizeOf = std::move(noteSize);
    m_noteSize = m_sizeOf(nullptr);
    m_credit = 0;
    m_packetBytes = 0;
    m_counted = 0;
    m_largestPacket = 0;
    m_level = 0;
    m_stopped.reset();
    m_encoder = std::make_unique<VoiceEncoder>();
    // A second of speech at least, or it is not worth starting.
    if (roomLeft() < VoiceEncoder::Bitrate / 8) {
        *error = noRoomText();
        return false;
    }
    if (!m_encoder->isValid()) {
        *error = QStringLiteral("The voice coder could not be started.");
        return false;
    }
    std::unique_ptr<AudioInput> input = m_devices.input();
    if (!input || !input->start(VoiceEncoder::SampleRate, error))
        return false;
    m_input = std::move(input);
    connect(m_input.get(), &AudioInput::samplesReady, this, &VoiceRecorder::take);
    Q_EMIT progressed();
    return true;
}

void VoiceRecorder::finishRecording() {
    if (!m_input)
        return;
    m_input->stop();
    // This may run inside the input's own signal: it goes once that is done.
    m_input.release()->deleteLater();
    NoteClip clip = m_encoder->finish();
    // The estimate kept the note under the limit; this makes sure of it.
    while (!clip.packets.isEmpty() && m_sizeOf(&clip) > NoteData::MaxSavedSize)
        dropLastPacket(clip);
    m_stopped = clip;
}

NoteClip VoiceRecorder::stop() {
    finishRecording();
    NoteClip clip = m_stopped.value_or(NoteClip{});
    m_stopped.reset();
    return clip;
}

void VoiceRecorder::take(const QList<qint16>& samples) {
    if (!m_input)
        return;
    m_encoder->push(samples);
    const QList<QByteArray>& packets = m_encoder->clip().packets;
    for (; m_counted < packets.size(); ++m_counted) {
        const qsizetype size = packets[m_counted].size();
        m_packetBytes += varintSize(size) + size;
        m_largestPacket = qMax(m_largestPacket, size);
    }
    m_level = levelOf(samples);
    // The estimate counts the clip as stored; deflating the note may take
    // less, so near the limit the note is measured.
    if (isFull())
        m_credit =
            m_noteSize + NoteClipSection::MaxHeaderSize + clipSize() - m_sizeOf(&m_encoder->clip());
    const bool full = isFull();
    Q_EMIT progressed();
    if (full) {
        finishRecording();
        Q_EMIT limitReached();
    }
}

qint64 VoiceRecorder::elapsedMs() const {
    return m_encoder ? m_encoder->samples() * 1000 / VoiceEncoder::SampleRate : 0;
}

qsizetype VoiceRecorder::clipSize() const {
    return ClipFrameSize + m_packetBytes;
}

qsizetype VoiceRecorder::budget() const {
    return NoteData::MaxSavedSize - m_noteSize - NoteClipSection::MaxHeaderSize - Slack;
}

qsizetype VoiceRecorder::roomLeft() const {
    return qMax<qsizetype>(0, budget() + m_credit - clipSize());
}

bool VoiceRecorder::isFull() const {
    // The last frames still to come may be as large as the largest yet.
    return roomLeft() < 3 * (m_largestPacket + 2);
}

void dropLastPacket(NoteClip& clip) {
    clip.packets.removeLast();
    const quint64 held = quint64(clip.packets.size()) * (clip.sampleRate / 50);
    clip.duration =
        quint32(qMin<quint64>(clip.duration, held > clip.preSkip ? held - clip.preSkip : 0));
}

}  // namespace tempolatch
