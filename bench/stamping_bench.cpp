// Copy-only stamping of a batch (100 files of 2 MB) against the floor: a plain
// file copy plus appending the block.
#include "core/stamping/copyrightblock.h"
#include "core/stamping/stampbatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

constexpr int kFiles = 100;
constexpr int kFileSize = 2 * 1024 * 1024;
const QByteArray kText = "Copyright (C) Benchmark\r\nAlle Rechte vorbehalten.\r\n";

struct Batch {
    QTemporaryDir dir;
    std::vector<QString> sources;
    QString output() const { return dir.filePath(QStringLiteral("out/")); }
};

const Batch& batch() {
    static const Batch made = [] {
        Batch b;
        QDir().mkpath(b.dir.filePath(QStringLiteral("src")));
        QDir().mkpath(b.output());
        const QByteArray bytes(kFileSize, 'x');
        for (int i = 0; i < kFiles; ++i) {
            const QString path = b.dir.filePath(QStringLiteral("src/f%1.jpg").arg(i));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
            b.sources.push_back(path);
        }
        return b;
    }();
    return made;
}

void BM_StampBatchCopyOnly(benchmark::State& state) {
    const Batch& b = batch();
    std::vector<StampRequest> requests;
    for (const QString& source : b.sources)
        requests.push_back({source, b.output(), kText, {}, {}});
    for (auto _ : state) {
        const auto outcomes = stampBatch(requests, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(outcomes.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kFiles) * kFileSize);
}
BENCHMARK(BM_StampBatchCopyOnly)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: copy (the library picks the fastest kernel path) and append the block.
void BM_CopyAndAppendFloor(benchmark::State& state) {
    const Batch& b = batch();
    const QByteArray block = copyrightBlockBytes(kText);
    for (auto _ : state) {
        for (const QString& source : b.sources) {
            const std::filesystem::path target =
                (b.output() + QStringLiteral("floor-") + QFileInfo(source).fileName())
                    .toStdString();
            std::filesystem::copy_file(source.toStdString(), target,
                                       std::filesystem::copy_options::overwrite_existing);
            QFile out(QString::fromStdString(target.string()));
            if (out.open(QIODevice::Append))
                out.write(block);
        }
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kFiles) * kFileSize);
}
BENCHMARK(BM_CopyAndAppendFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
