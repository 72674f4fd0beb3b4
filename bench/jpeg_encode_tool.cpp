// Command-line helper for compare_jpeg.sh, so our encoder and cjpeg work on the
// same pixels as whole programs:
//   stampora_jpeg_encode make-ppm OUT.ppm [WIDTH HEIGHT]  writes the benchmark picture
//   stampora_jpeg_encode encode IN.ppm OUT.jpg            reads a binary PPM, writes JPEG q100
#include "testpattern.h"

#include "core/imaging/dibsection.h"
#include "core/imaging/jpegcompressor.h"
#include "core/imaging/picturemetadata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

int makePpm(const QString& path, int width, int height) {
    cDIBSection buffer;
    if (!buffer.Create(width, height)) {
        std::fprintf(stderr, "cannot make a %dx%d picture\n", width, height);
        return 1;
    }
    fillNaturalPattern(buffer);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.write(QByteArrayLiteral("P6\n") + QByteArray::number(width) + ' ' +
               QByteArray::number(height) + "\n255\n");
    QByteArray row(qsizetype(width) * 3, '\0');
    for (int y = 0; y < height; ++y) {
        const uchar* in = buffer.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(in[3 * x + 2]);
            row[3 * x + 1] = char(in[3 * x + 1]);
            row[3 * x + 2] = char(in[3 * x]);
        }
        file.write(row);
    }
    return file.error() == QFileDevice::NoError ? 0 : 1;
}

// Reads the next number of a PPM header, skipping white space and comments.
bool readHeaderNumber(const uchar*& at, const uchar* end, int* value) {
    while (at < end && (std::isspace(*at) || *at == '#')) {
        if (*at == '#')
            while (at < end && *at != '\n')
                ++at;
        else
            ++at;
    }
    long number = 0;
    const uchar* start = at;
    while (at < end && std::isdigit(*at) && number < 1000000)
        number = number * 10 + (*at++ - '0');
    *value = int(number);
    return at > start && number > 0 && number < 1000000;
}

int encode(const QString& in, const QString& out) {
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(in));
        return 1;
    }
    // The header is short: the first few hundred bytes hold it.
    const QByteArray head = file.peek(512);
    const auto* begin = reinterpret_cast<const uchar*>(head.constData());
    const uchar* end = begin + head.size();
    const uchar* at = begin + 2;
    int width = 0, height = 0, maximum = 0;
    if (!head.startsWith("P6") || !readHeaderNumber(at, end, &width) ||
        !readHeaderNumber(at, end, &height) || !readHeaderNumber(at, end, &maximum) ||
        maximum != 255 || at == end) {
        std::fprintf(stderr, "%s is not an 8-bit binary PPM\n", qPrintable(in));
        return 1;
    }
    file.skip(at + 1 - begin); // the header and the single white-space byte after it

    QElapsedTimer timer;
    timer.start();
    cDIBSection buffer;
    if (!buffer.Create(width, height))
        return 1;
    // Each row is read straight into its place and turned from RGB into BGR there.
    const qint64 rowBytes = qint64(width) * 3;
    for (int y = 0; y < height; ++y) {
        uchar* row = buffer.scanLine(y);
        if (file.read(reinterpret_cast<char*>(row), rowBytes) != rowBytes) {
            std::fprintf(stderr, "%s ends early\n", qPrintable(in));
            return 1;
        }
        for (int x = 0; x < width; ++x)
            std::swap(row[3 * x], row[3 * x + 2]);
    }
    const qint64 filled = timer.nsecsElapsed();
    QByteArray jpeg;
    QFile written(out);
    if (!compressBuffer(buffer, 100, JpegMetadataSegments{}, &jpeg) ||
        !written.open(QIODevice::WriteOnly) || written.write(jpeg) != jpeg.size() ||
        !written.flush())
        return 1;
    std::fprintf(stderr, "read %.1f ms, encode+write %.1f ms\n", filled / 1e6,
                 (timer.nsecsElapsed() - filled) / 1e6);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == "make-ppm") {
        const int width = args.size() >= 5 ? args[3].toInt() : 6000;
        const int height = args.size() >= 5 ? args[4].toInt() : 4000;
        return makePpm(args[2], width, height);
    }
    if (args.size() == 4 && args[1] == "encode")
        return encode(args[2], args[3]);
    std::fprintf(stderr, "usage: %s make-ppm OUT.ppm [WIDTH HEIGHT] | encode IN.ppm OUT.jpg\n",
                 argv[0]);
    return 2;
}
