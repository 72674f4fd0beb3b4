// The visible notice on a 12-megapixel JPEG: decode and compose, encode, and both;
// through the general reader and the stamping path (straight into the image buffer).
#include "core/imaging/coefficientstamper.h"
#include "core/imaging/dibsection.h"
#include "core/imaging/notice.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A photo-sized JPEG with some texture, written once per benchmark run.
const QString& samplePhoto() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("photo.jpg"));
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb((x * 7 + y) & 0xFF, (x ^ y) & 0xFF, (y * 3) & 0xFF);
        }
        image.save(file, "JPEG", 92);
        return file;
    }();
    return path;
}

const NoticeOptions kOptions{QStringLiteral("Copyright (C) 2002 <Ihr Name>"), true};

void BM_NoticeCompose(benchmark::State& state) {
    const QString& path = samplePhoto();
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(composeNoticePicture(path, kOptions, &error));
    }
}
BENCHMARK(BM_NoticeCompose)->Unit(benchmark::kMillisecond);

void BM_NoticeEncode(benchmark::State& state) {
    QString error;
    const QImage composed = composeNoticePicture(samplePhoto(), kOptions, &error);
    for (auto _ : state) {
        QByteArray jpeg;
        benchmark::DoNotOptimize(encodeNoticeJpeg(composed, &jpeg, &error));
    }
}
BENCHMARK(BM_NoticeEncode)->Unit(benchmark::kMillisecond);

void BM_NoticeWholePicture(benchmark::State& state) {
    const QString& path = samplePhoto();
    for (auto _ : state) {
        QString error;
        QByteArray jpeg;
        benchmark::DoNotOptimize(
            encodeNoticeJpeg(composeNoticePicture(path, kOptions, &error), &jpeg, &error));
    }
}
BENCHMARK(BM_NoticeWholePicture)->Unit(benchmark::kMillisecond);

void BM_NoticeComposeInBuffer(benchmark::State& state) {
    const QString& path = samplePhoto();
    for (auto _ : state) {
        QString error;
        cDIBSection buffer;
        JpegMetadataSegments metadata;
        benchmark::DoNotOptimize(composeNoticeInBuffer(path, kOptions, &buffer, &metadata, &error));
    }
}
BENCHMARK(BM_NoticeComposeInBuffer)->Unit(benchmark::kMillisecond);

void BM_NoticeWholePictureInBuffer(benchmark::State& state) {
    const QString& path = samplePhoto();
    for (auto _ : state) {
        QString error;
        cDIBSection buffer;
        JpegMetadataSegments metadata;
        QByteArray jpeg;
        if (composeNoticeInBuffer(path, kOptions, &buffer, &metadata, &error))
            benchmark::DoNotOptimize(encodeNoticeJpeg(buffer, metadata, &jpeg, &error));
    }
}
BENCHMARK(BM_NoticeWholePictureInBuffer)->Unit(benchmark::kMillisecond);

} // namespace

// The same picture in its own quality: its blocks copied, only the strip's encoded.
void BM_NoticeKeepingQuality(benchmark::State& state) {
    const QString& path = samplePhoto();
    for (auto _ : state) {
        QByteArray jpeg;
        benchmark::DoNotOptimize(stampNoticeKeepingQuality(path, kOptions, &jpeg));
    }
}
BENCHMARK(BM_NoticeKeepingQuality)->Unit(benchmark::kMillisecond);
