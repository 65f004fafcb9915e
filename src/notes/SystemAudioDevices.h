#pragma once

#include "notes/AudioDevices.h"

namespace tempolatch {

// The system's default microphone and speakers, through Qt Multimedia.
// Without a device (or a sound server) starting says so and does nothing.
class SystemAudioDevices : public AudioDevices {
public:
    static SystemAudioDevices& shared();

    std::unique_ptr<AudioInput> input() override;
    std::unique_ptr<AudioOutput> output() override;

    static QString noInputText();
    static QString noOutputText();
};

}  // namespace tempolatch
