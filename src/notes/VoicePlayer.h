#pragma once

#include <QObject>
#include <memory>

#include "notes/NoteContent.h"

namespace tempolatch {

class AudioDevices;
class AudioOutput;

// Plays one clip at a time to the output device, with a pause.
class VoicePlayer : public QObject {
    Q_OBJECT

public:
    explicit VoicePlayer(AudioDevices& devices, QObject* parent = nullptr);
    ~VoicePlayer() override;

    // Stops what plays and plays the clip; false, with a reason the user
    // can read, for a clip that cannot be played or without an output.
    bool play(const NoteClip& clip, QString* error);
    bool isPlaying() const { return m_output != nullptr; }
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused);
    void stop();

Q_SIGNALS:
    // Started, paused, resumed, stopped or played to the end.
    void stateChanged();

private:
    AudioDevices& m_devices;
    std::unique_ptr<AudioOutput> m_output;
    bool m_paused = false;
};

}  // namespace tempolatch
