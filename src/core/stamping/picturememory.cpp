#include "core/stamping/picturememory.h"

#include "core/base/filename.h"
#include "core/base/resourcelimits.h"
#include "core/imaging/picturedecoder.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>

namespace {

// Kept free of the budget for the program itself: libraries, fonts, the list
// of files and the encoded outputs on their way to the disk.
constexpr qint64 kProgramReserve = qint64(96) << 20;
// Address space a worker thread reserves beside the pictures: its stack and
// the malloc arena it gets.
constexpr qint64 kAddressSpacePerThread = qint64(72) << 20;

// Bytes a pixel costs while its notice is made, measured on 24-megapixel
// JPEGs: a JPEG is decoded straight into the composed buffer (3 bytes a pixel,
// and the encoder's rows); other formats are decoded by Qt's reader first (4
// bytes a pixel more). Beside them the source's bytes, read whole, and the
// encoded output, counted as twice the file's size.
constexpr qint64 kBytesPerJpegPixel = 4;
constexpr qint64 kBytesPerPixel = 8;
// With the source's quality kept: its DCT coefficients (2 bytes a sample, up
// to 3 samples a pixel) and the taller copy of them for the strip.
constexpr qint64 kBytesPerPixelKeepingQuality = 12;

} // namespace

std::shared_ptr<MemoryGate> pictureMemoryGate(int filesAtOnce) {
    const qint64 available =
        memoryAvailableToProcess(kAddressSpacePerThread * std::max(filesAtOnce, 1));
    return std::make_shared<MemoryGate>(available - kProgramReserve);
}

int filesAtOnceWithinMemory(int wanted) {
    const qint64 room = memoryAvailableToProcess() - kProgramReserve;
    return int(std::clamp<qint64>(room / kAddressSpacePerThread, 1, std::max(wanted, 1)));
}

qint64 noticeMemoryCost(const QString& path, bool keepQuality) {
    QFile file;
    if (!openForReading(file, path))
        return 0;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    const QSize declared(qAbs(size.width()), qAbs(size.height()));
    if (declared.isEmpty() || isPictureTooLarge(declared))
        return 0;
    const qint64 pixels = qint64(declared.width()) * declared.height();
    const qint64 perPixel = keepQuality                 ? kBytesPerPixelKeepingQuality
                            : reader.format() == "jpeg" ? kBytesPerJpegPixel
                                                        : kBytesPerPixel;
    return pixels * perPixel + 2 * file.size();
}
