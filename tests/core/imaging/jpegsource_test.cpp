#include "core/imaging/dibsection.h"
#include "core/imaging/jpegpipeline.h"
#include "core/imaging/jpegsource.h"
#include "core/imaging/notice.h"

#include "support/testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// The stream from its first segment that is not APPn or COM: the picture
// without the metadata, which the general encoder does not carry.
QByteArray pictureData(const QByteArray& jpeg) {
    for (const JpegHeaderSegment& segment : jpegHeaderSegments(jpeg))
        if ((segment.marker & 0xF0) != 0xE0 && segment.marker != 0xFE)
            return jpeg.mid(segment.at);
    return {};
}

// What the stamping path makes of a file, and what the general path makes of it.
struct BothPaths {
    QByteArray direct, general, whole;
    QString directError, generalError, wholeError;
};

BothPaths stampBothWays(const QString& path, const NoticeOptions& options) {
    BothPaths both;
    cDIBSection buffer;
    JpegMetadataSegments metadata;
    if (composeNoticeInBuffer(path, options, &buffer, &metadata, &both.directError)) {
        EXPECT_TRUE(encodeNoticeJpeg(buffer, metadata, &both.direct, &both.directError));
    }
    EXPECT_TRUE(composeAndEncodeNotice(path, options, true, &both.whole, &both.wholeError));
    QByteArray oneThread;
    EXPECT_TRUE(composeAndEncodeNotice(path, options, false, &oneThread, &both.wholeError));
    EXPECT_TRUE(oneThread == both.whole);
    const QImage composed = composeNoticePicture(path, options, &both.generalError);
    if (!composed.isNull()) {
        EXPECT_TRUE(encodeNoticeJpeg(composed, &both.general, &both.generalError));
    }
    return both;
}

// The pictures of the tests: quality 90, chroma at half or at full resolution.
constexpr JpegEncoding k420{.quality = 90};
constexpr JpegEncoding k444{.h = 1, .v = 1, .quality = 90};

const QString kNotice = QStringLiteral("Copyright (C) 2026 Anna Beispiel – ÄÖÜ gjpqy");

} // namespace

// The direct decode, and the decoder and encoder running in step, must give the
// very picture the general reader gives, so the stamped JPEG is the same byte
// for byte, in both modes and for every kind of JPEG the direct path takes.
TEST(DirectJpegDecode, StampsTheSameBytesAsTheGeneralReader) {
    TempFolder folder;
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    const struct {
        const char* name;
        QSize size;
        JpegEncoding how;
        bool profile;
    } cases[] = {
        {"420", {203, 97}, k420, false},
        {"444", {64, 48}, k444, false},
        {"422-progressive", {150, 41}, {.h = 2, .v = 1, .progressive = true, .quality = 90}, false},
        {"grey", {77, 60}, {.h = 0, .quality = 90}, false},
        {"profile", {120, 80}, k420, true},
        {"shorter-than-the-strip", {90, 9}, k420, false},
    };
    for (const auto& c : cases) {
        QByteArray jpeg = encodedJpeg(detailedPicture(c.size.width(), c.size.height()), c.how);
        if (c.profile) { // Qt's writer carries the profile of the picture's colour space
            QImage tagged = QImage::fromData(jpeg);
            tagged.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
            jpeg.clear();
            QBuffer device(&jpeg);
            device.open(QIODevice::WriteOnly);
            ASSERT_TRUE(tagged.save(&device, "JPEG", 90));
        }
        const QString path = folder.write(QString::fromLatin1(c.name) + ".jpg", jpeg);
        cDIBSection buffer;
        const DirectJpeg decoded = decodeJpegIntoBuffer(path, 20, &buffer);
        EXPECT_EQ(decoded.result, DirectJpeg::Result::Decoded) << c.name;
        EXPECT_EQ(buffer.Height(), c.size.height() + 20) << c.name;
        EXPECT_EQ(decoded.metadata.icc == adobe, c.profile) << c.name;
        for (const bool enlarge : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (enlarge ? " enlarge" : " direct"));
            const BothPaths both = stampBothWays(path, {kNotice, enlarge});
            ASSERT_FALSE(both.direct.isEmpty()) << both.directError.toStdString();
            EXPECT_TRUE(pictureData(both.direct) == pictureData(both.general));
            EXPECT_TRUE(both.whole == both.direct);
            QByteArray pipelined;
            EXPECT_EQ(stampJpegNoticePipelined(path, {kNotice, enlarge}, &pipelined).result,
                      PipelinedNotice::Result::Encoded);
        }
    }
}

// Pictures the direct path does not take still come out as before.
TEST(DirectJpegDecode, LeavesTurnedAndOtherPicturesToTheGeneralReader) {
    TempFolder folder;
    const QByteArray plain = encodedJpeg(detailedPicture(60, 40), k420);
    QByteArray png;
    {
        QBuffer device(&png);
        device.open(QIODevice::WriteOnly);
        ASSERT_TRUE(detailedPicture(60, 40).save(&device, "PNG"));
    }
    const struct {
        const char* name;
        QByteArray bytes;
        QSize stamped; // enlarge mode
    } cases[] = {
        {"turned.jpg", withSegments(plain, exifWithOrientation(6, true)), {40, 80}},
        {"turned-intel.jpg", withSegments(plain, exifWithOrientation(8, false)), {40, 80}},
        {"picture.jpg", png, {60, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        cDIBSection buffer;
        EXPECT_EQ(decodeJpegIntoBuffer(path, 20, &buffer).result,
                  DirectJpeg::Result::UseGeneralReader);
        EXPECT_TRUE(buffer.isEmpty());
        QByteArray pipelined;
        EXPECT_EQ(stampJpegNoticePipelined(path, {kNotice, true}, &pipelined).result,
                  PipelinedNotice::Result::UseGeneralReader);
        const BothPaths both = stampBothWays(path, {kNotice, true});
        ASSERT_FALSE(both.direct.isEmpty()) << both.directError.toStdString();
        EXPECT_TRUE(pictureData(both.direct) == pictureData(both.general));
        EXPECT_TRUE(both.whole == both.direct);
        EXPECT_EQ(QImage::fromData(both.direct).size(), c.stamped);
    }
    // an upright EXIF takes the direct path
    const QString upright =
        folder.write("upright.jpg", withSegments(plain, exifWithOrientation(1, false)));
    cDIBSection buffer;
    EXPECT_EQ(decodeJpegIntoBuffer(upright, 0, &buffer).result, DirectJpeg::Result::Decoded);
}

TEST(DirectJpegDecode, RefusesOversizedHeadersWithTheGeneralReason) {
    TempFolder folder;
    QByteArray jpeg = encodedJpeg(detailedPicture(16, 16), k444);
    // the frame header: FFC0, length, precision, height, width
    const qsizetype sof = jpeg.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(sof, 0);
    jpeg[sof + 5] = char(0x75); // height 0x7540 = 30 016, beyond 30 000
    jpeg[sof + 6] = char(0x40);
    const QString path = folder.write("huge.jpg", jpeg);
    cDIBSection buffer;
    const DirectJpeg decoded = decodeJpegIntoBuffer(path, 20, &buffer);
    EXPECT_EQ(decoded.result, DirectJpeg::Result::Refused);
    EXPECT_TRUE(buffer.isEmpty());
    QString general;
    EXPECT_TRUE(composeNoticePicture(path, {kNotice, true}, &general).isNull());
    EXPECT_EQ(decoded.error, general);
    QByteArray pipelined;
    const PipelinedNotice stamped = stampJpegNoticePipelined(path, {kNotice, true}, &pipelined);
    EXPECT_EQ(stamped.result, PipelinedNotice::Result::Failed);
    EXPECT_EQ(stamped.error, general);
}

// A stream cut short or broken fails on every path, whether the direct
// decoder, the decoder in step with the encoder or Qt's reader (for a turned
// picture) meets it first; nothing is made up for the missing rows.
TEST(DirectJpegDecode, DamagedStreamsFailOnEveryPath) {
    TempFolder folder;
    const QByteArray plain = encodedJpeg(detailedPicture(160, 120), k420);
    const QByteArray progressive = encodedJpeg(
        detailedPicture(160, 120), {.h = 1, .v = 1, .progressive = true, .quality = 90});
    const QByteArray turned = withSegments(plain, exifWithOrientation(6, true));
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"cut.jpg", plain.left(plain.size() * 2 / 3)},
        {"cut-progressive.jpg", progressive.left(progressive.size() / 2)},
        {"cut-turned.jpg", turned.left(turned.size() / 2)},
        {"broken.jpg", corruptJpeg(plain)},
        {"broken-turned.jpg", corruptJpeg(turned)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        const QString reason =
            QStringLiteral("Das Bild ist beschädigt oder unvollständig: %1.").arg(c.name);
        for (const bool secondThread : {true, false}) {
            QByteArray jpeg;
            QString error;
            EXPECT_FALSE(
                composeAndEncodeNotice(path, {kNotice, true}, secondThread, &jpeg, &error));
            EXPECT_EQ(error, reason);
            EXPECT_TRUE(jpeg.isEmpty());
        }
        QString general;
        EXPECT_TRUE(composeNoticePicture(path, {kNotice, false}, &general).isNull());
        EXPECT_EQ(general, reason);
    }
    // what follows the end of the picture is no damage
    const QString stamped = folder.write("stamped.jpg", plain + QByteArray(3000, '\x5A'));
    QByteArray jpeg;
    QString error;
    EXPECT_TRUE(composeAndEncodeNotice(stamped, {kNotice, true}, true, &jpeg, &error))
        << error.toStdString();
}
