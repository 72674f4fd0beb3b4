// The quality-100 path's output, byte for byte: every kind of source picture a
// run may meet, stamped in both modes, on one thread and with a core to spare,
// must give the very files the program has always written. The hashes were
// recorded from the program as it stood before its decoding and encoding were
// rebuilt; a new version of libjpeg, Qt or the font changes them all, and then
// STAMPORA_PRINT_HASHES=1 prints the table anew (check the pictures by eye first).
#include "core/stamping/stampfile.h"

#include "core/imaging/bitmapfile.h"
#include "core/imaging/notice.h"
#include "core/stamping/copyrightblock.h"

#include "support/testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const QString kNotice = QStringLiteral("Copyright (C) 2026 Anna Beispiel – ÄÖÜ gjpqy");

QByteArray taggedJpeg(const QImage& picture) {
    QImage tagged = picture;
    tagged.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    return encodedPicture(tagged, "JPEG", 90);
}

struct Source {
    std::string name;
    QByteArray bytes;
};

std::vector<Source> sources() {
    const QImage detailed = detailedPicture(203, 97);
    const QByteArray plain = encodedJpeg(detailed, {.quality = 90});
    const QByteArray turnable = encodedJpeg(detailedPicture(57, 31), {.quality = 90});
    std::vector<Source> all = {
        {"420.jpg", plain},
        {"444.jpg", encodedJpeg(detailedPicture(64, 48), {.h = 1, .v = 1, .quality = 90})},
        {"422-progressive.jpg", encodedJpeg(detailedPicture(150, 41),
                                            {.h = 2, .v = 1, .progressive = true, .quality = 90})},
        {"grey.jpg", encodedJpeg(detailedPicture(77, 60), {.h = 0, .quality = 90})},
        {"arithmetic.jpg", encodedJpeg(detailedPicture(70, 50), {.arithmetic = true})},
        {"cmyk.jpg", encodedJpeg(detailedPicture(48, 40), {.h = 1, .v = 1, .cmyk = true})},
        {"profile.jpg", taggedJpeg(detailedPicture(120, 80))},
        {"shorter-than-the-strip.jpg", encodedJpeg(detailedPicture(90, 9), {.quality = 90})},
        {"one-pixel.jpg", encodedJpeg(detailedPicture(1, 1), {.quality = 90})},
        {"tall.jpg", encodedJpeg(detailedPicture(301, 1003), {.quality = 92})},
        {"photo.jpg", encodedJpeg(detailedPicture(1000, 700), {.quality = 92})},
        {"upright-exif.jpg",
         withSegments(plain, exifWithOrientation(1, false) + jpegSegment("fffe", "Ein Kommentar"))},
        {"stray-bytes.jpg", plain.chopped(2) + QByteArray(3, '\0') + plain.right(2)},
        {"bytes-after-the-end.jpg", plain + QByteArray(500, '\x5A')},
        {"png-named.jpg", encodedPicture(detailed, "PNG")},
        {"picture.bmp", encodedPicture(detailed, "BMP")},
        {"picture.gif", smallGif(64, 40)},
    };
    for (int orientation = 2; orientation <= 8; ++orientation)
        all.push_back({"turned-" + std::to_string(orientation) + ".jpg",
                       withSegments(turnable, exifWithOrientation(orientation, orientation % 2))});
    return all;
}

// The first 16 hexadecimal digits of the SHA-256 of the picture written: the
// output's bytes in front of its block, or the "-cop.jpg" picture.
QByteArray stampedHash(const TempFolder& temp, const QString& source, bool enlarge, bool copName,
                       bool spareCore) {
    const QString folder = temp.file(
        QStringLiteral("out-%1%2%3").arg(int(enlarge)).arg(int(copName)).arg(int(spareCore)));
    QDir().mkpath(folder);
    StampRequest request{source, folder + "/", "(C) Test", {true, kNotice, enlarge, copName}, {}};
    request.spareCore = spareCore;
    const FileOutcome outcome = stampFile(request);
    EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
    QByteArray bytes;
    if (copName) {
        bytes = readAll(copPicturePath(source));
        QFile::remove(copPicturePath(source));
    } else {
        bytes = readAll(outcome.output);
        const QByteArray block = copyrightBlockBytes(request.text);
        EXPECT_TRUE(bytes.endsWith(block));
        bytes.chop(block.size());
    }
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16);
}

// The hash of the windows' "tester.bmp" of the picture, in enlarge mode.
QByteArray testerBitmapHash(const TempFolder& temp, const QString& source) {
    const QString folder = temp.file("out-tester");
    QDir().mkpath(folder);
    StampRequest request{source, folder + "/", "(C) Test", {true, kNotice, true, false}, {}};
    const QString bitmap = temp.file("tester.bmp");
    request.writeComposedPicture = [&](cDIBSection& composed, QString*) {
        return WriteBitmapFile(composed, 32, bitmap) > 0;
    };
    EXPECT_TRUE(stampFile(request).ok);
    return QCryptographicHash::hash(readAll(bitmap), QCryptographicHash::Sha256).toHex().left(16);
}

struct Expected {
    const char* name;
    const char* enlarge;
    const char* direct;
    const char* testerBitmap;
};

// Recorded from the program before the rebuild.
const Expected kExpected[] = {
    {"420.jpg", "28be09225b50ed1a", "32390b1a06406365", "c2858b4b9fdaf0c7"},
    {"444.jpg", "d98464d8b1891bd8", "766008f25cd6076e", "32fc06bf4fcab584"},
    {"422-progressive.jpg", "db243e2f64ffb9af", "b0590a176a9d4d5e", "4f21c9b7a870edb8"},
    {"grey.jpg", "c11f227123153c16", "a2d8e502d596d9e0", "091f663d62bceab6"},
    {"arithmetic.jpg", "5d8d8468067b42ea", "1215311e2431155a", "60c682e5aba7b259"},
    {"cmyk.jpg", "0595db98764035f0", "781cb1a917d824fd", "0937423a5549aab6"},
    {"profile.jpg", "c37d6ed1cd574fe6", "6c6360db80c14453", "ad1f2308075c01f1"},
    {"shorter-than-the-strip.jpg", "817f117c987b1d9e", "20dce9ec18cd9aa6", "957b2170442f9fa5"},
    {"one-pixel.jpg", "984e270d85befc68", "88b186a9be9ed479", "1c4962bb0b9d5b05"},
    {"tall.jpg", "5cea2fa0e0b88b92", "f5a9955b868754f2", "c7edebbc5c1e74dd"},
    {"photo.jpg", "c9efd94ccca74bb4", "68aa2d623a1393c9", "08ae60394c84ccbf"},
    {"upright-exif.jpg", "ddf597c136949ed0", "907c278c46edd303", "c2858b4b9fdaf0c7"},
    {"stray-bytes.jpg", "28be09225b50ed1a", "32390b1a06406365", "c2858b4b9fdaf0c7"},
    {"bytes-after-the-end.jpg", "28be09225b50ed1a", "32390b1a06406365", "c2858b4b9fdaf0c7"},
    {"png-named.jpg", "8855d7f96880b0c7", "aef80bff003ae75d", "33286e32f47b8937"},
    {"picture.bmp", "8855d7f96880b0c7", "aef80bff003ae75d", "33286e32f47b8937"},
    {"picture.gif", "561d40e2217e52f1", "c92e7f5712a0c4ec", "45cdc5019f3033e0"},
    {"turned-2.jpg", "44b05cca5a3d3bdf", "e94d5424c60bc282", "f486eb777ee8ca37"},
    {"turned-3.jpg", "1af0e2c97c29797c", "e3996a863339ebf8", "06d8320394d42d2a"},
    {"turned-4.jpg", "41f7e52c05e87d54", "38c9b25f2e647cd3", "fbc1cc1c5205b7ec"},
    {"turned-5.jpg", "e5afced24934d1ff", "c45d6a2f58041b92", "3348ae9fe0990ac4"},
    {"turned-6.jpg", "0ddae92a90a81466", "a7a3640419159a1a", "e55ee8a9caf3a527"},
    {"turned-7.jpg", "11b764f82ebe6781", "a598d9e5906664d7", "02f86b4ba865b496"},
    {"turned-8.jpg", "a167ee8bbdf3b2cf", "afabd45bfd0cb92d", "ef4eca763d065c97"},
};

} // namespace

TEST(StampedBytes, TheQuality100PathWritesWhatItAlwaysWrote) {
    TempFolder temp;
    const bool print = qEnvironmentVariableIsSet("STAMPORA_PRINT_HASHES");
    for (const Source& source : sources()) {
        SCOPED_TRACE(source.name);
        const QString path =
            temp.write(QStringLiteral("src/") + QString::fromStdString(source.name), source.bytes);
        QByteArray hashes[2];
        for (const bool enlarge : {true, false}) {
            const QByteArray hash = stampedHash(temp, path, enlarge, false, false);
            EXPECT_EQ(stampedHash(temp, path, enlarge, false, true), hash) << "with a spare core";
            hashes[enlarge ? 0 : 1] = hash;
        }
        EXPECT_EQ(stampedHash(temp, path, true, true, false), hashes[0]) << "as -cop.jpg";
        if (print) {
            std::printf("    {\"%s\", \"%s\", \"%s\", \"%s\"},\n", source.name.c_str(),
                        hashes[0].constData(), hashes[1].constData(),
                        testerBitmapHash(temp, path).constData());
            continue;
        }
        const Expected* expected = nullptr;
        for (const Expected& e : kExpected)
            if (source.name == e.name)
                expected = &e;
        ASSERT_NE(expected, nullptr) << "no hash recorded";
        EXPECT_EQ(hashes[0], expected->enlarge) << "enlarge";
        EXPECT_EQ(hashes[1], expected->direct) << "direct";
        EXPECT_EQ(testerBitmapHash(temp, path), expected->testerBitmap) << "tester.bmp";
    }
}
