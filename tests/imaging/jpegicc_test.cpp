#include "imaging/jpegicc.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG", 90));
    return bytes;
}

quint16 bigEndian16(const QByteArray& bytes, qsizetype at) {
    return quint16(quint8(bytes[at]) << 8 | quint8(bytes[at + 1]));
}

} // namespace

TEST(InsertIccProfile, QtReadsTheProfileBack) {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 60));
    QByteArray jpeg = jpegOf(image);
    ASSERT_FALSE(QImage::fromData(jpeg).colorSpace().isValid());

    const QByteArray profile = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    ASSERT_FALSE(profile.isEmpty());
    ASSERT_TRUE(InsertIccProfile(&jpeg, profile));
    const QImage back = QImage::fromData(jpeg, "JPEG");
    ASSERT_EQ(back.size(), QSize(16, 8));
    EXPECT_EQ(back.colorSpace().iccProfile(), profile);
}

TEST(InsertIccProfile, LargeProfilesAreSplitIntoNumberedSegmentsAfterApp0) {
    const QByteArray app0 = QByteArray::fromHex("ffe000104a46494600010100000100010000");
    const QByteArray rest = QByteArray::fromHex("ffdb0004aabbffd9");
    QByteArray jpeg = QByteArray::fromHex("ffd8") + app0 + rest;
    QByteArray profile(2 * kIccChunkSize + 10, '\0');
    for (qsizetype i = 0; i < profile.size(); ++i)
        profile[i] = char(i * 7 % 251);

    ASSERT_TRUE(InsertIccProfile(&jpeg, profile));
    ASSERT_EQ(jpeg.left(2 + app0.size()), QByteArray::fromHex("ffd8") + app0);
    qsizetype at = 2 + app0.size();
    QByteArray joined;
    for (int sequence = 1; sequence <= 3; ++sequence) {
        ASSERT_EQ(quint8(jpeg[at]), 0xFF);
        ASSERT_EQ(quint8(jpeg[at + 1]), 0xE2);
        const quint16 length = bigEndian16(jpeg, at + 2);
        EXPECT_EQ(jpeg.mid(at + 4, 12), QByteArray("ICC_PROFILE\0", 12));
        EXPECT_EQ(quint8(jpeg[at + 16]), sequence);
        EXPECT_EQ(quint8(jpeg[at + 17]), 3);
        joined += jpeg.mid(at + 18, length - 16);
        EXPECT_LE(length - 16, kIccChunkSize);
        at += 2 + length;
    }
    EXPECT_EQ(joined, profile);
    EXPECT_EQ(jpeg.mid(at), rest);
}

TEST(InsertIccProfile, RefusesWhatItCannotCarryAndLeavesTheStreamAlone) {
    const QByteArray valid = QByteArray::fromHex("ffd8ffdb0004aabbffd9");
    const struct {
        const char* name;
        QByteArray jpeg;
        qsizetype profileSize;
    } cases[] = {
        {"not a JPEG", QByteArray("GIF89a...."), 100},
        {"empty stream", QByteArray(), 100},
        {"APP0 longer than the stream", QByteArray::fromHex("ffd8ffe000404a464946"), 100},
        {"APP0 length below 2", QByteArray::fromHex("ffd8ffe00001ffd9"), 100},
        {"more than 255 segments", valid, 255 * kIccChunkSize + 1},
    };
    for (const auto& c : cases) {
        QByteArray jpeg = c.jpeg;
        EXPECT_FALSE(InsertIccProfile(&jpeg, QByteArray(c.profileSize, 'x'))) << c.name;
        EXPECT_EQ(jpeg, c.jpeg) << c.name;
    }
    QByteArray jpeg = valid;
    EXPECT_TRUE(InsertIccProfile(&jpeg, QByteArray()));
    EXPECT_EQ(jpeg, valid) << "no profile, nothing inserted";
}
