#include "imaging/bitmapfile.h"

#include "base/coreerror.h"
#include "base/littleendian.h"
#include "base/replacingfile.h"
#include "imaging/bitmappalette.h"

#include <QImage>
#include <climits>
#include <cstring>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
// Rows are gathered into chunks of about this many bytes before each write.
constexpr qsizetype ChunkSize = 4 << 20;

bool isSupportedDepth(int bitCount) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

// The picture as 32-bit pixels with any transparency composed over black, so
// every pixel's red, green and blue can be taken as they are.
QImage composedRgb32(const QImage& picture) {
    if (picture.format() == QImage::Format_RGB32)
        return picture;
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!premultiplied.isNull())
        premultiplied.reinterpretAsFormat(QImage::Format_RGB32);
    return premultiplied;
}

using RowWriter = void (*)(const QImage& source, int row, uchar* out);

void writeRow32(const QImage& source, int row, uchar* out) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row));
    for (int x = 0; x < source.width(); ++x, out += 4)
        storeLittleEndian32(out, in[x] & 0x00FFFFFFu); // blue, green, red, 0
}

void writeRow24(const QImage& source, int row, uchar* out) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row));
    for (int x = 0; x < source.width(); ++x, out += 3) {
        out[0] = uchar(qBlue(in[x]));
        out[1] = uchar(qGreen(in[x]));
        out[2] = uchar(qRed(in[x]));
    }
}

void writeRow16(const QImage& source, int row, uchar* out) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row));
    for (int x = 0; x < source.width(); ++x, out += 2) {
        const QRgb p = in[x];
        storeLittleEndian16(out,
                            quint16((qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | qBlue(p) >> 3));
    }
}

// Packs palette indices; the leftmost pixel goes into the highest bits of a byte.
template <int Bits> void writeIndexedRow(const QImage& source, int row, uchar* out) {
    const uchar* in = source.constScanLine(row);
    if constexpr (Bits == 8) {
        std::memcpy(out, in, size_t(source.width()));
    } else {
        constexpr int perByte = 8 / Bits;
        for (int x = 0; x < source.width(); ++x) {
            const int shift = 8 - Bits * (x % perByte + 1);
            out[x / perByte] |= uchar(in[x] << shift);
        }
    }
}

RowWriter rowWriterFor(int bitCount) {
    switch (bitCount) {
    case 1:
        return writeIndexedRow<1>;
    case 4:
        return writeIndexedRow<4>;
    case 8:
        return writeIndexedRow<8>;
    case 16:
        return writeRow16;
    case 24:
        return writeRow24;
    default:
        return writeRow32;
    }
}

int failed(CoreError* error, CoreError::Code code, int result, const QString& detail = {}) {
    if (error)
        *error = {code, detail};
    return result;
}

int writeFailed(CoreError* error, const QString& detail) {
    return failed(error, CoreError::Code::BitmapNotWritten, BitmapUnexpectedError, detail);
}

} // namespace

quint32 SwapRedBlue(quint32 colour) {
    const quint32 red = colour & 0xFF;
    const quint32 green = (colour & 0xFF00) / 256;
    const quint32 blue = (colour & 0xFF0000) / 65536;
    return blue + green * 256 + red * 65536;
}

int WriteBitmapFile(const QImage& picture, int bitCount, const QString& path,
                    const QList<quint32>* colourList, CoreError* error) {
    if (error)
        *error = {};
    if (!isSupportedDepth(bitCount))
        return failed(error, CoreError::Code::UnsupportedBitmapDepth, BitmapUnsupportedDepth);
    if (picture.isNull())
        return BitmapNoPicture;

    // Colour table: the palette for 8 bits and fewer (a fitting colour list takes
    // its place), otherwise the single zero entry.
    QList<quint32> table{0};
    QList<QRgb> palette;
    if (bitCount <= 8) {
        palette = DefaultBitmapPalette(bitCount);
        if (colourList && colourList->size() == palette.size()) {
            for (qsizetype i = 0; i < palette.size(); ++i)
                palette[i] = 0xFF000000u | SwapRedBlue(colourList->at(i));
        }
        table.clear();
        for (const QRgb colour : palette)
            table.append(colour & 0x00FFFFFFu);
    }

    const qint64 width = picture.width();
    const qint64 height = picture.height();
    const qint64 rowLength = (width * bitCount + 31) / 32 * 4;
    const qint64 offBits = FileHeaderSize + InfoHeaderSize + 4 * table.size();
    // The header's sizes are 32-bit numbers and the result is the file's length.
    if (rowLength > (INT_MAX - offBits) / height)
        return writeFailed(error, QStringLiteral("Das Bild ist zu groß für eine Bitmap-Datei."));
    const qint64 imageSize = rowLength * height;
    const qint64 fileSize = offBits + imageSize;

    const QImage rgb = composedRgb32(picture);
    const QImage source = bitCount <= 8 && !rgb.isNull()
                              ? rgb.convertToFormat(QImage::Format_Indexed8, palette)
                              : rgb;
    if (source.isNull())
        return BitmapConversionFailed;

    QByteArray header;
    header.reserve(offBits);
    header.append("BM", 2);
    appendLittleEndian32(header, quint32(fileSize));
    appendLittleEndian16(header, 0);
    appendLittleEndian16(header, 0);
    appendLittleEndian32(header, quint32(offBits));
    appendLittleEndian32(header, InfoHeaderSize);
    appendLittleEndian32(header, quint32(width));
    appendLittleEndian32(header, quint32(height)); // positive: rows bottom-up
    appendLittleEndian16(header, 1);               // planes
    appendLittleEndian16(header, quint16(bitCount));
    appendLittleEndian32(header, 0); // uncompressed
    appendLittleEndian32(header, quint32(imageSize));
    appendLittleEndian32(header, 0); // horizontal resolution
    appendLittleEndian32(header, 0); // vertical resolution
    const quint32 colourCount = bitCount <= 8 ? quint32(table.size()) : 0;
    appendLittleEndian32(header, colourCount); // used
    appendLittleEndian32(header, colourCount); // important
    for (const quint32 entry : table)
        appendLittleEndian32(header, entry);

    ReplacingFile file(path);
    if (!file.open())
        return writeFailed(
            error, QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(path));

    const RowWriter writeRow = rowWriterFor(bitCount);
    const qsizetype rowsPerChunk = std::max<qsizetype>(1, ChunkSize / rowLength);
    QByteArray chunk(qsizetype(std::min<qint64>(rowsPerChunk, height) * rowLength), '\0');
    bool written = file.write(header.constData(), header.size());
    for (int first = int(height) - 1; written && first >= 0; first -= int(rowsPerChunk)) {
        const int last = std::max(0, first - int(rowsPerChunk) + 1);
        const qsizetype used = qsizetype(first - last + 1) * rowLength;
        auto* out = reinterpret_cast<uchar*>(chunk.data());
        std::memset(out, 0, size_t(used)); // padding and the bits that are or-ed in
        for (int row = first; row >= last; --row, out += rowLength)
            writeRow(source, row, out);
        written = file.write(chunk.constData(), used);
    }
    if (!written || !file.commit())
        return writeFailed(
            error, QStringLiteral("Die Datei \"%1\" konnte nicht vollständig geschrieben werden.")
                       .arg(path));
    return int(fileSize);
}
