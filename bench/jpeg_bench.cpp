// The picture writers on a 24-megapixel picture (6000 × 4000).
#include "testpattern.h"

#include "core/imaging/bitmapfile.h"
#include "core/imaging/dibsection.h"
#include "core/imaging/jpegcompressor.h"
#include "core/imaging/picturemetadata.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int PictureWidth = 6000;
constexpr int PictureHeight = 4000;

const cDIBSection& naturalBuffer() {
    static const cDIBSection buffer = [] {
        cDIBSection made;
        made.Create(PictureWidth, PictureHeight);
        fillNaturalPattern(made);
        return made;
    }();
    return buffer;
}

void BM_EncodeJpegQuality100(benchmark::State& state) {
    const cDIBSection& buffer = naturalBuffer();
    QByteArray jpeg;
    for (auto _ : state) {
        if (!compressBuffer(buffer, 100, JpegMetadataSegments{}, &jpeg))
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(jpeg.data());
    }
    state.counters["MB"] = double(jpeg.size()) / 1e6;
    state.SetItemsProcessed(state.iterations() * PictureWidth * PictureHeight);
}
BENCHMARK(BM_EncodeJpegQuality100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CreateFromPicture(benchmark::State& state) {
    const QImage picture = naturalPatternPicture(PictureWidth, PictureHeight);
    for (auto _ : state) {
        cDIBSection buffer;
        if (!buffer.CreateFromPicture(picture))
            state.SkipWithError("creation failed");
        benchmark::DoNotOptimize(buffer.DIBSectionBitsPtr());
    }
    state.SetItemsProcessed(state.iterations() * PictureWidth * PictureHeight);
}
BENCHMARK(BM_CreateFromPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteBitmapFile32(benchmark::State& state) {
    const QImage picture = naturalPatternPicture(PictureWidth, PictureHeight);
    QTemporaryDir folder;
    const QString path = folder.filePath("tester.bmp");
    for (auto _ : state) {
        if (WriteBitmapFile(picture, 32, path) <= 0)
            state.SkipWithError("writing failed");
    }
    state.SetBytesProcessed(state.iterations() * PictureWidth * PictureHeight * 4);
}
BENCHMARK(BM_WriteBitmapFile32)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
