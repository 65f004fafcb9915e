// Compound file benchmarks: a backup's layout, one storage of 100,000 time
// entry streams of about 120 bytes beside a few small storages, written and
// read back. Both should grow linearly with the number of streams.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/compound/CompoundFile.h"

using namespace tempolatch;
using namespace tempolatch::platform;

namespace {

QByteArray recordBytes(int i) {
    QByteArray bytes = QByteArray::number(i).rightJustified(8, '0');
    bytes.append("Client 17, project Design, task Review, 150 minutes at 60.00 USD, billable");
    bytes.append(QByteArray(120 - bytes.size() % 120, char(i)));
    return bytes;
}

bool writeBackup(const QString& path, int count) {
    auto file = CompoundFile::create(path);
    if (!file)
        return false;
    CompoundStorage root = file->root();
    root.createStream(QStringLiteral("DataVersion")).writeUInt32(300);
    for (const char* name : {"Clients", "Projects", "Tasks", "Expenses"}) {
        CompoundStorage storage = root.createStorage(QString::fromLatin1(name));
        for (int i = 0; i < 50; ++i)
            storage.createStream(QStringLiteral("Item%1").arg(i)).writeBytes(recordBytes(i));
    }
    CompoundStorage records = root.createStorage(QStringLiteral("Records"));
    for (int i = 0; i < count; ++i)
        records.createStream(QStringLiteral("Record%1").arg(i)).writeBytes(recordBytes(i));
    return file->commit();
}

// Every record by name, as a restore reads them; the bytes read.
qint64 readBackup(const QString& path) {
    auto file = CompoundFile::open(path);
    if (!file)
        return -1;
    const CompoundStorage records = file->root().openStorage(QStringLiteral("Records"));
    qint64 total = 0;
    QByteArray bytes;
    for (const CompoundEntry& e : records.children().value_or(QList<CompoundEntry>())) {
        CompoundStream s = records.openStream(e.name);
        if (!s.readBytes(s.size(), bytes))
            return -1;
        total += bytes.size();
    }
    return total;
}

void BM_CompoundWrite(benchmark::State& state) {
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("backup.tld"));
    for (auto _ : state) {
        if (!writeBackup(path, count))
            state.SkipWithError("cannot write the file");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CompoundWrite)->Arg(20'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_CompoundRead(benchmark::State& state) {
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("backup.tld"));
    if (!writeBackup(path, count)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    for (auto _ : state) {
        const qint64 bytes = readBackup(path);
        if (bytes < 0)
            state.SkipWithError("cannot read the file");
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CompoundRead)->Arg(20'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
