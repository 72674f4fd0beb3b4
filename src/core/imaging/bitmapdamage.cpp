#include "core/base/filename.h"
#include "core/base/littleendian.h"
#include "core/imaging/picturedamage.h"

#include <QFile>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes
constexpr int kInfoHeaderSize = 40;  // and every later one, which begins alike
constexpr quint32 kUncompressed = 0; // BI_RGB
constexpr quint32 kRle8 = 1;
constexpr quint32 kRle4 = 2;
constexpr quint32 kBitFields = 3;
constexpr quint32 kAlphaBitFields = 6;

} // namespace

bool isBitmapDataDamaged(const QString& path) {
    QFile file;
    if (!openForReading(file, path))
        return false;
    uchar header[kFileHeaderSize + kInfoHeaderSize] = {};
    const qint64 got = file.read(reinterpret_cast<char*>(header), sizeof header);
    if (got < kFileHeaderSize + kCoreHeaderSize || header[0] != 'B' || header[1] != 'M')
        return false;
    const quint32 pixelOffset = readLittleEndian32(header + 10);
    const quint32 infoSize = readLittleEndian32(header + 14);
    qint64 width = 0, height = 0;
    int bitCount = 0;
    quint32 compression = kUncompressed, declaredBytes = 0;
    if (infoSize == kCoreHeaderSize) {
        width = readLittleEndian16(header + 18);
        height = readLittleEndian16(header + 20);
        bitCount = readLittleEndian16(header + 24);
    } else if (infoSize >= kInfoHeaderSize && got == qint64(sizeof header)) {
        width = readLittleEndianSigned32(header + 18);
        height = readLittleEndianSigned32(header + 22); // negative: stored top down
        bitCount = readLittleEndian16(header + 28);
        compression = readLittleEndian32(header + 30);
        declaredBytes = readLittleEndian32(header + 34);
    } else {
        return false;
    }
    // where the reader finds the pixels when the offset points into the headers
    // is its own affair, as are sizes no picture has (and the sums cannot overflow)
    constexpr qint64 kLargestSide = 1 << 24;
    if (pixelOffset < kFileHeaderSize + infoSize || qAbs(width) > kLargestSide ||
        qAbs(height) > kLargestSide || bitCount > 64)
        return false;
    qint64 pixelBytes = 0;
    switch (compression) {
    case kUncompressed:
    case kBitFields:
    case kAlphaBitFields: // rows padded to 4 bytes
        pixelBytes = (qAbs(width) * bitCount + 31) / 32 * 4 * qAbs(height);
        break;
    case kRle8:
    case kRle4: // the length of the runs is only in the header
        pixelBytes = declaredBytes;
        break;
    default:
        return false;
    }
    // a file that gives no size (as those of /proc) cannot be judged so
    return file.size() > 0 && qint64(pixelOffset) + pixelBytes > file.size();
}
