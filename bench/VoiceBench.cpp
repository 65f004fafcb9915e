// Voice clips: coding and decoding ten seconds of a voice-like signal (a
// buzz whose pitch glides, with a little noise), and what a second costs
// in the note.
#include <benchmark/benchmark.h>

#include <QtMath>

#include "notes/NoteClipSection.h"
#include "notes/VoiceCodec.h"

using namespace tempolatch;

namespace {

QList<qint16> voiceLike(int seconds) {
    QList<qint16> out(qsizetype(seconds) * VoiceEncoder::SampleRate);
    double phase = 0;
    quint32 noise = 1;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const double t = double(i) / VoiceEncoder::SampleRate;
        phase += 2 * M_PI * (120 + 80 * qSin(2 * M_PI * 0.7 * t)) / VoiceEncoder::SampleRate;
        noise = noise * 1103515245 + 12345;
        const double buzz = qSin(phase) + 0.5 * qSin(2 * phase) + 0.25 * qSin(5 * phase);
        out[i] = qint16(9000 * buzz * (0.6 + 0.4 * qSin(2 * M_PI * 4 * t)) +
                        300 * (double(noise >> 16) / 32768 - 1));
    }
    return out;
}

NoteClip encoded(const QList<qint16>& samples) {
    VoiceEncoder encoder;
    encoder.push(samples);
    return encoder.finish();
}

void BM_EncodeTenSeconds(benchmark::State& state) {
    const QList<qint16> samples = voiceLike(10);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const NoteClip clip = encoded(samples);
        bytes = NoteClipSection::storedSize(clip);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["note_bytes_per_s"] = double(bytes) / 10;
    state.SetItemsProcessed(state.iterations() * 10);  // items = seconds of audio
}
BENCHMARK(BM_EncodeTenSeconds)->Unit(benchmark::kMillisecond);

void BM_DecodeTenSeconds(benchmark::State& state) {
    const NoteClip clip = encoded(voiceLike(10));
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeVoice(clip));
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_DecodeTenSeconds)->Unit(benchmark::kMillisecond);

}  // namespace
