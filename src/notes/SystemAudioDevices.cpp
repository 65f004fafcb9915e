#include "notes/SystemAudioDevices.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QBuffer>
#include <QMediaDevices>

namespace tempolatch {

namespace {

QAudioFormat monoFormat(int sampleRate) {
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

class SystemInput : public AudioInput {
public:
    bool start(int sampleRate, QString* error) override {
        const QAudioDevice device = QMediaDevices::defaultAudioInput();
        const QAudioFormat format = monoFormat(sampleRate);
        if (device.isNull() || !device.isFormatSupported(format)) {
            *error = SystemAudioDevices::noInputText();
            return false;
        }
        m_source = std::make_unique<QAudioSource>(device, format);
        m_io = m_source->start();
        if (!m_io || m_source->error() != QAudio::NoError) {
            m_source.reset();
            *error = SystemAudioDevices::noInputText();
            return false;
        }
        connect(m_io, &QIODevice::readyRead, this, &SystemInput::read);
        return true;
    }
    void stop() override {
        if (m_source)
            m_source->stop();
        m_source.reset();
        m_io = nullptr;
    }

private:
    void read() {
        m_bytes += m_io->readAll();
        const qsizetype count = m_bytes.size() / 2;
        if (count == 0)
            return;
        QList<qint16> samples(count);
        memcpy(samples.data(), m_bytes.constData(), size_t(count) * 2);
        m_bytes.remove(0, count * 2);
        Q_EMIT samplesReady(samples);
    }

    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    QByteArray m_bytes;
};

class SystemOutput : public AudioOutput {
public:
    bool start(const QList<qint16>& samples, int sampleRate, QString* error) override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = monoFormat(sampleRate);
        if (device.isNull() || !device.isFormatSupported(format)) {
            *error = SystemAudioDevices::noOutputText();
            return false;
        }
        m_buffer.setData(reinterpret_cast<const char*>(samples.constData()), samples.size() * 2);
        m_buffer.open(QIODevice::ReadOnly);
        m_sink = std::make_unique<QAudioSink>(device, format);
        connect(m_sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::IdleState)
                Q_EMIT finished();
        });
        m_sink->start(&m_buffer);
        if (m_sink->error() != QAudio::NoError) {
            m_sink.reset();
            *error = SystemAudioDevices::noOutputText();
            return false;
        }
        return true;
    }
    void setPaused(bool paused) override {
        if (!m_sink)
            return;
        if (paused)
            m_sink->suspend();
        else
            m_sink->resume();
    }
    void stop() override {
        if (m_sink) {
            m_sink->disconnect(this);
            m_sink->stop();
        }
    }

private:
    QBuffer m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

}  // namespace

SystemAudioDevices& SystemAudioDevices::shared() {
    static SystemAudioDevices devices;
    return devices;
}

std::unique_ptr<AudioInput> SystemAudioDevices::input() {
    return std::make_unique<SystemInput>();
}

std::unique_ptr<AudioOutput> SystemAudioDevices::output() {
    return std::make_unique<SystemOutput>();
}

QString SystemAudioDevices::noInputText() {
    return QStringLiteral(
        "No microphone could be opened. Please connect one (or start the sound service) and "
        "record again.");
}

QString SystemAudioDevices::noOutputText() {
    return QStringLiteral(
        "No speaker or headphones could be opened. Please connect them (or start the sound "
        "service) and play the voice note again.");
}

}  // namespace tempolatch
