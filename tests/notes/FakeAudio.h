#pragma once

#include "notes/AudioDevices.h"

namespace tempolatch::test {

class FakeAudioDevices;

// Sound devices for tests: the input plays what the test pushes, the
// output keeps what it was given; either can be missing.
class FakeInput : public AudioInput {
public:
    explicit FakeInput(FakeAudioDevices& devices) : m_devices(devices) {}
    ~FakeInput() override;
    bool start(int sampleRate, QString* error) override;
    void stop() override;
    void push(const QList<qint16>& samples) { Q_EMIT samplesReady(samples); }

private:
    FakeAudioDevices& m_devices;
};

class FakeOutput : public AudioOutput {
public:
    explicit FakeOutput(FakeAudioDevices& devices) : m_devices(devices) {}
    ~FakeOutput() override;
    bool start(const QList<qint16>& samples, int sampleRate, QString* error) override;
    void setPaused(bool paused) override { this->paused = paused; }
    void stop() override { stopped = true; }
    void playToTheEnd() { Q_EMIT finished(); }

    QList<qint16> samples;
    int sampleRate = 0;
    bool paused = false;
    bool stopped = false;

private:
    FakeAudioDevices& m_devices;
};

class FakeAudioDevices : public AudioDevices {
public:
    std::unique_ptr<AudioInput> input() override { return std::make_unique<FakeInput>(*this); }
    std::unique_ptr<AudioOutput> output() override { return std::make_unique<FakeOutput>(*this); }

    bool hasInput = true;
    bool hasOutput = true;
    // The input that records and the output that plays, while they do.
    FakeInput* recording = nullptr;
    FakeOutput* playing = nullptr;
};

inline FakeInput::~FakeInput() {
    if (m_devices.recording == this)
        m_devices.recording = nullptr;
}

inline bool FakeInput::start(int, QString* error) {
    if (!m_devices.hasInput) {
        *error = QStringLiteral("No microphone.");
        return false;
    }
    m_devices.recording = this;
    return true;
}

inline void FakeInput::stop() {
    m_devices.recording = nullptr;
}

inline FakeOutput::~FakeOutput() {
    if (m_devices.playing == this)
        m_devices.playing = nullptr;
}

inline bool FakeOutput::start(const QList<qint16>& played, int rate, QString* error) {
    if (!m_devices.hasOutput) {
        *error = QStringLiteral("No speakers.");
        return false;
    }
    samples = played;
    sampleRate = rate;
    m_devices.playing = this;
    return true;
}

}  // namespace tempolatch::test
