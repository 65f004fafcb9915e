// Entry timer benchmarks: the one-second tick over four slots, and keeping
// the slots in the profile's file (four timers, each with a note as large
// as the Note page allows), which runs on every slot change and once a
// minute while timers run, on the program's only thread.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "timers/EntryTimer.h"
#include "timers/TimerKeeper.h"

using namespace tempolatch;

namespace {

EntryTimerTable fullTable(qsizetype noteBytes) {
    EntryTimerTable table;
    for (int i = 0; i < EntryTimerTable::SlotCount; ++i) {
        EntryTimer& t = table.slot(i);
        t.state = EntryTimer::Running;
        t.start = platform::SystemTime{2026, 12, 1, 7, 9, 15, 0, 0};
        t.elapsedSeconds = 3600 * i;
        t.client = QStringLiteral("Client %1").arg(i);
        t.task = QStringLiteral("Design");
        t.note = QByteArray(noteBytes, char('a' + i));
        t.templateEntry = TimeEntry();
    }
    return table;
}

void BM_TimerTick(benchmark::State& state) {
    EntryTimerTable table = fullTable(0);
    platform::FileTime now{134095320000000000ULL};
    for (auto _ : state) {
        now = now.addTicks(platform::FileTime::TicksPerSecond);
        table.tick(now);
    }
    benchmark::DoNotOptimize(table.slot(0).elapsedSeconds);
}
BENCHMARK(BM_TimerTick);

void BM_TimerFileSave(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("timers.dat"));
    const EntryTimerTable table = fullTable(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(TimerKeeper::save(table, platform::FileTime{1}, path));
}
BENCHMARK(BM_TimerFileSave)->Arg(0)->Arg(65000)->Unit(benchmark::kMicrosecond);

void BM_TimerFileLoad(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("timers.dat"));
    TimerKeeper::save(fullTable(state.range(0)), platform::FileTime{1}, path);
    for (auto _ : state)
        benchmark::DoNotOptimize(TimerKeeper::load(path));
}
BENCHMARK(BM_TimerFileLoad)->Arg(0)->Arg(65000)->Unit(benchmark::kMicrosecond);

}  // namespace
