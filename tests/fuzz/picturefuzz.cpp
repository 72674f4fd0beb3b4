#include "core/imaging/copyrightmetadata.h"
#include "core/imaging/notice.h"
#include "fuzzfolder.h"
#include "fuzztargets.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cstring>

namespace {

// Larger pictures are accepted by the product but make each run slow; the
// fuzzer looks for faults in the readers, not for big allocations.
constexpr qint64 kMaxFuzzPixels = 1'000'000;

} // namespace

int fuzzPicture(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzFile("picture.jpg"); // the content decides the format
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(bytes) == bytes.size(),
              "writing the input file");
    file.close();
    {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize header = reader.size();
        if (qint64(qAbs(header.width())) * qAbs(header.height()) > kMaxFuzzPixels)
            return 0;
    }
    // a GIF is drawn on its logical screen, whatever its first frame says
    if (size >= 10 && std::memcmp(data, "GIF", 3) == 0 &&
        qint64(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > kMaxFuzzPixels)
        return 0;

    // the copy-only path: the copyright into the header, the picture as it was
    QByteArray copy = bytes;
    QString problem;
    if (putCopyrightIntoFile(&copy, QStringLiteral("© 2002 Jörg"), &problem))
        fuzzCheck(QImage::fromData(copy).size() == QImage::fromData(bytes).size(),
                  "a copy with the copyright in its header shows the same picture");
    else
        fuzzCheck(copy == bytes && !problem.isEmpty(), "a header that cannot be written is kept");

    // the last byte picks the mode, so both are fuzzed
    // the source's metadata are read, fixed up and written with the copyright
    const NoticeOptions options{QStringLiteral("Copyright (C) 2002 Ä Ö Ü ß"),
                                (data[size - 1] & 1) != 0,
                                {true, QStringLiteral("© 2002 Jörg")}};
    // the stamping path (JPEG sources decoded straight into the image buffer,
    // on a second thread when the first byte says so) must agree with the
    // general one: both succeed or both fail, and give pictures of one size
    QString stampingError;
    QByteArray stamped;
    const bool stampedOk =
        composeAndEncodeNotice(path, options, (data[0] & 1) != 0, &stamped, &stampingError);
    fuzzCheck(stampedOk || !stampingError.isEmpty(), "a failed stamping path has a reason");

    QString error;
    const QImage composed = composeNoticePicture(path, options, &error);
    fuzzCheck(composed.isNull() != stampedOk, "both paths succeed or fail alike");
    if (composed.isNull()) {
        fuzzCheck(!error.isEmpty(), "a picture that fails has a reason");
        return 0;
    }
    fuzzCheck(QImage::fromData(stamped, "JPEG").size() == composed.size(),
              "the stamping path gives a picture of the same size");
    fuzzCheck(error.isEmpty(), "no reason with a picture");
    QByteArray jpeg;
    if (!encodeNoticeJpeg(composed, &jpeg, &error)) {
        fuzzCheck(!error.isEmpty(), "an encoding that fails has a reason");
        return 0;
    }
    const QImage back = QImage::fromData(jpeg, "JPEG");
    fuzzCheck(!back.isNull(), "the JPEG written decodes");
    fuzzCheck(back.size() == composed.size(), "the JPEG has the size of the composed picture");

    return 0;
}
