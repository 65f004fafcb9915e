#include "notes/VoicePlayer.h"

#include "notes/AudioDevices.h"
#include "notes/VoiceCodec.h"

namespace tempolatch {

VoicePlayer::VoicePlayer(AudioDevices& devices, QObject* parent)
    : QObject(parent), m_devices(devices) {}

VoicePlayer::~VoicePlayer() {
    if (m_output)
        m_output->stop();
}

bool VoicePlayer::play(const NoteClip& clip, QString* error) {
    stop();
    const std::optional<QList<qint16>> samples = decodeVoice(clip);
    if (!samples) {
        *error = QStringLiteral("This voice note is damaged and cannot be played.");
        return false;
    }
    std::unique_ptr<AudioOutput> output = m_devices.output();
    if (!output || !output->start(*samples, int(clip.sampleRate), error))
        return false;
    m_output = std::move(output);
    connect(m_output.get(), &AudioOutput::finished, this, &VoicePlayer::stop);
    Q_EMIT stateChanged();
    return true;
}

void VoicePlayer::setPaused(bool paused) {
    if (!m_output || paused == m_paused)
        return;
    m_paused = paused;
    m_output->setPaused(paused);
    Q_EMIT stateChanged();
}

void VoicePlayer::stop() {
    if (!m_output)
        return;
    m_output->stop();
    // Playing to the end calls this from the output's own signal.
    m_output.release()->deleteLater();
    m_paused = false;
    Q_EMIT stateChanged();
}

}  // namespace tempolatch
