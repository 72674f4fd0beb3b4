#include "core/imaging/bitmapfile.h"

#include "core/base/coreerror.h"
#include "core/base/filename.h"
#include "core/base/littleendian.h"
#include "core/base/replacingfile.h"
#include "core/imaging/bitmappalette.h"
#include "core/imaging/dibsection.h"

#include <QImage>
#include <climits>
#include <cstring>
#include <functional>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
// Rows are gathered into chunks of about this many bytes before each write.
constexpr qsizetype ChunkSize = 256 << 10;

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

// Blue, green, red to blue, green, red, 0; four pixels (three words) at a time.
void expandRow24To32Portable(const uchar* in, int width, uchar* out) {
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 12, out += 16) {
        const quint32 a = readLittleEndian32(in);
        const quint32 b = readLittleEndian32(in + 4);
        const quint32 c = readLittleEndian32(in + 8);
        storeLittleEndian32(out, a & 0x00FFFFFFu);
        storeLittleEndian32(out + 4, (a >> 24 | b << 8) & 0x00FFFFFFu);
        storeLittleEndian32(out + 8, (b >> 16 | c << 16) & 0x00FFFFFFu);
        storeLittleEndian32(out + 12, c >> 8);
    }
    for (; x < width; ++x, in += 3, out += 4)
        storeLittleEndian32(out, quint32(in[0]) | quint32(in[1]) << 8 | quint32(in[2]) << 16);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same with one byte shuffle for four pixels, as this runs for every picture
// the windows stamp. Each load takes 16 bytes of which 12 are used, so it stops
// while two pixels are left; the rest goes the portable way.
__attribute__((target("ssse3"))) void expandRow24To32Shuffled(const uchar* in, int width,
                                                              uchar* out) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4, in += 12, out += 16) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(pixels, spread));
    }
    expandRow24To32Portable(in, width - x, out);
}

void expandRow24To32(const uchar* in, int width, uchar* out) {
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (shuffles)
        expandRow24To32Shuffled(in, width, out);
    else
        expandRow24To32Portable(in, width, out);
}
#else
void expandRow24To32(const uchar* in, int width, uchar* out) {
    expandRow24To32Portable(in, width, out);
}
#endif

int tooLarge(CoreError* error) {
    return writeFailed(error, QStringLiteral("Das Bild ist zu groß für eine Bitmap-Datei."));
}

// The sizes of a bitmap file and its headers.
struct BitmapLayout {
    BitmapLayout(qint64 width, qint64 height, int bitCount, QList<quint32> table)
        : width(width), height(height), bitCount(bitCount), table(std::move(table)),
          rowLength((width * bitCount + 31) / 32 * 4),
          offBits(FileHeaderSize + InfoHeaderSize + 4 * this->table.size()) {}
    // The header's sizes are 32-bit numbers and the result is the file's length.
    bool fits() const { return rowLength <= (INT_MAX - offBits) / height; }
    qint64 imageSize() const { return rowLength * height; }
    qint64 fileSize() const { return offBits + imageSize(); }

    qint64 width, height;
    int bitCount;
    QList<quint32> table; // the colour table as written
    qint64 rowLength, offBits;
};

QByteArray headerBytes(const BitmapLayout& layout) {
    QByteArray header;
    header.reserve(layout.offBits);
    header.append("BM", 2);
    appendLittleEndian32(header, quint32(layout.fileSize()));
    appendLittleEndian16(header, 0);
    appendLittleEndian16(header, 0);
    appendLittleEndian32(header, quint32(layout.offBits));
    appendLittleEndian32(header, InfoHeaderSize);
    appendLittleEndian32(header, quint32(layout.width));
    appendLittleEndian32(header, quint32(layout.height)); // positive: rows bottom-up
    appendLittleEndian16(header, 1);                      // planes
    appendLittleEndian16(header, quint16(layout.bitCount));
    appendLittleEndian32(header, 0); // uncompressed
    appendLittleEndian32(header, quint32(layout.imageSize()));
    appendLittleEndian32(header, 0); // horizontal resolution
    appendLittleEndian32(header, 0); // vertical resolution
    const quint32 colourCount = layout.bitCount <= 8 ? quint32(layout.table.size()) : 0;
    appendLittleEndian32(header, colourCount); // used
    appendLittleEndian32(header, colourCount); // important
    for (const quint32 entry : layout.table)
        appendLittleEndian32(header, entry);
    return header;
}

// The file rewritten where it lies, cut to its new length. For a file written
// for every picture of a run: a new file each time costs the file system
// several times the write itself. Anything but a regular file is refused.
class FileInPlace {
public:
    explicit FileInPlace(const QString& path)
        : fd_(openFileName(path, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666)) {}
    FileInPlace(const FileInPlace&) = delete;
    FileInPlace& operator=(const FileInPlace&) = delete;
    ~FileInPlace() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool open() {
        struct stat info {};
        if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))
            return false;
        length_ = info.st_size;
        return true;
    }
    bool write(const char* data, qint64 size) {
        while (size > 0) {
            const ssize_t done = ::pwrite(fd_, data, size_t(size), offset_);
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0)
                return false;
            data += done;
            size -= done;
            offset_ += done;
        }
        return true;
    }
    bool commit() {
        // the same length as before (the run's pictures share a size): nothing to cut
        const bool cut = offset_ == length_ || ::ftruncate(fd_, offset_) == 0;
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 && cut;
    }

private:
    int fd_;
    off_t offset_ = 0;
    off_t length_ = 0; // the file's length when opened
};

// The header, then the rows bottom-up, each filled by `fillRow(pictureRow, out)`
// over zero bytes (unless `fillsWholeRows`: it writes every byte of a row),
// gathered into chunks, through `file` (ReplacingFile: the file replaces `path`
// when complete; FileInPlace).
template <class File>
int writeBitmap(const BitmapLayout& layout, const QString& path,
                const std::function<void(int, uchar*)>& fillRow, CoreError* error,
                bool fillsWholeRows = false) {
    File file(path);
    if (!file.open())
        return writeFailed(
            error, QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(path));

    const QByteArray header = headerBytes(layout);
    const qint64 rowLength = layout.rowLength;
    const int height = int(layout.height);
    const qsizetype rowsPerChunk = std::max<qsizetype>(1, ChunkSize / rowLength);
    QByteArray chunk(qsizetype(std::min<qint64>(rowsPerChunk, height) * rowLength), '\0');
    bool written = file.write(header.constData(), header.size());
    for (int first = height - 1; written && first >= 0; first -= int(rowsPerChunk)) {
        const int last = std::max(0, first - int(rowsPerChunk) + 1);
        const qsizetype used = qsizetype(first - last + 1) * rowLength;
        auto* out = reinterpret_cast<uchar*>(chunk.data());
        if (!fillsWholeRows)
            std::memset(out, 0, size_t(used)); // padding and the bits that are or-ed in
        for (int row = first; row >= last; --row, out += rowLength)
            fillRow(row, out);
        written = file.write(chunk.constData(), used);
    }
    if (!written || !file.commit())
        return writeFailed(
            error, QStringLiteral("Die Datei \"%1\" konnte nicht vollständig geschrieben werden.")
                       .arg(path));
    return int(layout.fileSize());
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
        palette = defaultBitmapPalette(bitCount);
        if (colourList && colourList->size() == palette.size()) {
            for (qsizetype i = 0; i < palette.size(); ++i)
                palette[i] = 0xFF000000u | SwapRedBlue(colourList->at(i));
        }
        table.clear();
        for (const QRgb colour : palette)
            table.append(colour & 0x00FFFFFFu);
    }
    const BitmapLayout layout(picture.width(), picture.height(), bitCount, table);
    if (!layout.fits())
        return tooLarge(error);

    const QImage rgb = composedRgb32(picture);
    const QImage source = bitCount <= 8 && !rgb.isNull()
                              ? rgb.convertToFormat(QImage::Format_Indexed8, palette)
                              : rgb;
    if (source.isNull())
        return BitmapConversionFailed;
    const RowWriter writeRow = rowWriterFor(bitCount);
    return writeBitmap<ReplacingFile>(
        layout, path, [&](int row, uchar* out) { writeRow(source, row, out); }, error);
}

int WriteBitmapFile(const cDIBSection& picture, int bitCount, const QString& path, CoreError* error,
                    BitmapWriteMode mode) {
    if (bitCount != 24 && bitCount != 32)
        return WriteBitmapFile(picture.toPicture(), bitCount, path, nullptr, error);
    if (error)
        *error = {};
    if (picture.isEmpty())
        return BitmapNoPicture;
    const BitmapLayout layout(picture.Width(), picture.Height(), bitCount, {0});
    if (!layout.fits())
        return tooLarge(error);
    // the buffer's rows are the file's rows already: blue, green, red, bottom-up
    const int width = picture.Width();
    std::function<void(int, uchar*)> fillRow;
    if (bitCount == 24)
        fillRow = [&](int row, uchar* out) {
            std::memcpy(out, picture.scanLine(row), size_t(width) * 3);
        };
    else
        fillRow = [&](int row, uchar* out) { expandRow24To32(picture.scanLine(row), width, out); };
    const bool wholeRows = bitCount == 32; // 4 bytes a pixel: no padding
    return mode == BitmapWriteMode::InPlace
               ? writeBitmap<FileInPlace>(layout, path, fillRow, error, wholeRows)
               : writeBitmap<ReplacingFile>(layout, path, fillRow, error, wholeRows);
}
