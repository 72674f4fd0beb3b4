// The reader on 256 MiB with few and with many blocks: the time must not grow
// with the number of blocks.
#include "readerfiles.h"

#include "core/stamping/copyrightblock.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {

// Whole read: open, map, scan, unmap (the file stays in the page cache).
void BM_ReadCopyrightBlocks(benchmark::State& state) {
    const QString path = readerBenchFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const CopyrightScan scan = ReadCopyrightBlocks(path);
        if (scan.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("wrong number of entries");
        benchmark::DoNotOptimize(scan.size());
    }
    state.SetBytesProcessed(state.iterations() * kReaderFileSize);
}
BENCHMARK(BM_ReadCopyrightBlocks)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);

// The scan alone, on bytes already in memory.
void BM_ScanCopyrightBytes(benchmark::State& state) {
    QFile file(readerBenchFile(static_cast<int>(state.range(0))));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("cannot read the file");
        return;
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        const CopyrightScan scan = scanCopyrightBytes(bytes);
        benchmark::DoNotOptimize(scan.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ScanCopyrightBytes)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
