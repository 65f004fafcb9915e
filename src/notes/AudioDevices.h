#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

namespace tempolatch {

// The sound devices a note records from and plays to: mono 16-bit samples.
// The window uses the system's default devices; tests hand in their own,
// which take generated samples.
class AudioInput : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts delivering samples at the rate; false, with a reason the user
    // can read, when there is nothing to record from.
    virtual bool start(int sampleRate, QString* error) = 0;
    virtual void stop() = 0;

Q_SIGNALS:
    void samplesReady(const QList<qint16>& samples);
};

class AudioOutput : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts playing the samples; false, with a reason the user can read,
    // when there is nothing to play to.
    virtual bool start(const QList<qint16>& samples, int sampleRate, QString* error) = 0;
    virtual void setPaused(bool paused) = 0;
    virtual void stop() = 0;

Q_SIGNALS:
    // The last sample was played.
    void finished();
};

class AudioDevices {
public:
    virtual ~AudioDevices() = default;
    virtual std::unique_ptr<AudioInput> input() = 0;
    virtual std::unique_ptr<AudioOutput> output() = 0;
};

}  // namespace tempolatch
