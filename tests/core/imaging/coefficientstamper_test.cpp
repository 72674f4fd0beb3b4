// The notice in the photo's own quality: real pictures encoded with libjpeg,
// stamped in the DCT domain, and compared block by block and pixel by pixel
// with the source and with the quality-100 path.
#include "core/imaging/coefficientstamper.h"
#include "core/imaging/jpeglibsupport.h"
#include "core/imaging/notice.h"
#include "core/imaging/noticeband.h"
#include "core/imaging/picturemetadata.h"

#include "support/testsupport.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <cstring>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

const QString kNotice = QStringLiteral("Copyright (C) 2026 Anna Beispiel – ÄÖÜ gjpqy");

// A photograph-like picture: smooth light with fine grain.
QImage photoLike(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int noise = int(grain.bounded(24));
            image.setPixel(x, y,
                           qRgb((x * 200 / width + noise) & 0xFF, (y * 180 / height + noise) & 0xFF,
                                (90 + (x + y) % 64 + noise) & 0xFF));
        }
    return image;
}

void readHeader(jpeg_decompress_struct* info, const QByteArray& jpeg) {
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(info, TRUE);
}

// Decoded as `djpeg -nosmooth` does: chroma replicated, the accurate DCT.
QImage decodePlain(const QByteArray& jpeg) {
    jpeg_decompress_struct info{};
    JpegErrorJump errors;
    info.err = setUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    readHeader(&info, jpeg);
    info.out_color_space = JCS_RGB;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

// The DCT blocks of a JPEG, one byte array per block row of each component
// (only the blocks inside the picture), and its sampling factors.
struct Blocks {
    QList<QList<QByteArray>> rows; // [component][block row]
    QList<QPair<int, int>> sampling;
    bool progressive = false;
};

Blocks blocksOf(const QByteArray& jpeg) {
    Blocks blocks;
    jpeg_decompress_struct info{};
    JpegErrorJump errors;
    info.err = setUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    readHeader(&info, jpeg);
    blocks.progressive = info.progressive_mode;
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&info);
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        blocks.sampling.append({component.h_samp_factor, component.v_samp_factor});
        QList<QByteArray> rows;
        for (JDIMENSION r = 0; r < component.height_in_blocks; ++r) {
            JBLOCKARRAY row = (*info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info),
                                                              arrays[c], r, 1, FALSE);
            rows.append(QByteArray(reinterpret_cast<const char*>(row[0]),
                                   qsizetype(component.width_in_blocks * sizeof(JBLOCK))));
        }
        blocks.rows.append(rows);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return blocks;
}

// Mean absolute difference per channel over rows [first, end).
double meanDifference(const QImage& a, const QImage& b, int first, int end) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    long long count = 0;
    for (int row = first; row < end; ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i, ++count)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return count ? sum / double(count) : 0;
}

// Pixels near white in rows [first, end), by their luma (chroma subsampling
// tints white text over colour); the photos here reach none.
int brightPixels(const QImage& image, int first, int end) {
    int count = 0;
    for (int row = first; row < end; ++row)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, row)) > 215;
    return count;
}

} // namespace

// The blocks above the notice are the source's, whatever the sampling, height,
// mode or scan order: their rows decode bit for bit as before, and in enlarge
// mode on an iMCU boundary not one block of the source changes. The notice
// rows look as on the quality-100 path, and the file grows only by the strip.
TEST(KeptQualityNotice, KeepsTheSourceBlocksAndDrawsTheNoticeAsTheQuality100Path) {
    TempFolder folder;
    const struct {
        const char* name;
        JpegEncoding how;
        QSize size;
        bool enlarge;
    } cases[] = {
        {"420 on the boundary, enlarge", {2, 2}, {603, 480}, true},
        {"420 off the boundary, enlarge", {2, 2}, {603, 485}, true},
        {"444 off the boundary, enlarge", {1, 1}, {450, 475}, true},
        {"444 on the boundary, direct", {1, 1}, {450, 480}, false},
        {"420 off the boundary, direct", {2, 2}, {603, 485}, false},
        {"422 progressive, enlarge", {2, 1, true}, {480, 300}, true},
        {"420 progressive on the boundary, direct", {2, 2, true}, {480, 320}, false},
        {"grey, enlarge", {0, 0}, {360, 270}, true},
        {"420 optimised tables, direct", {2, 2, false, false, 85, false, true}, {603, 485}, false},
        {"shorter than the notice, direct", {2, 2}, {90, 12}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray source = encodedJpeg(photoLike(c.size.width(), c.size.height()), c.how);
        const int height = c.size.height();
        const int outputHeight = height + (c.enlarge ? 20 : 0);
        QByteArray kept;
        const NoticeOptions options{kNotice, c.enlarge};
        ASSERT_EQ(stampJpegKeepingQuality(source, options, &kept).result,
                  KeptQualityNotice::Result::Stamped);

        const Blocks before = blocksOf(source);
        const Blocks after = blocksOf(kept);
        ASSERT_EQ(after.sampling, before.sampling);
        EXPECT_FALSE(after.progressive);
        // rows the notice cannot reach: above the strip, or above the text line
        const int imcu = 8 * (c.how.v == 0 ? 1 : c.how.v);
        const int untouched = std::max(0, c.enlarge ? height : height - 18) / imcu * imcu;
        for (int component = 0; component < before.rows.size(); ++component) {
            const int v = before.sampling[component].second;
            const int maxV = before.sampling[0].second;
            const int keptRows = untouched / 8 * v / maxV;
            for (int r = 0; r < keptRows; ++r) {
                ASSERT_TRUE(after.rows[component][r] == before.rows[component][r])
                    << "component " << component << ", block row " << r;
            }
        }
        if (c.enlarge && height % imcu == 0) {
            for (int component = 0; component < before.rows.size(); ++component) {
                for (int r = 0; r < before.rows[component].size(); ++r) {
                    ASSERT_TRUE(after.rows[component][r] == before.rows[component][r]);
                }
            }
        }

        const QImage sourcePicture = decodePlain(source);
        const QImage keptPicture = decodePlain(kept);
        ASSERT_EQ(keptPicture.size(), QSize(c.size.width(), outputHeight));
        for (int y = 0; y < untouched; ++y)
            ASSERT_EQ(std::memcmp(keptPicture.constScanLine(y), sourcePicture.constScanLine(y),
                                  size_t(c.size.width() * 3)),
                      0)
                << "row " << y;

        // the notice rows as the quality-100 path draws them
        const QString path = folder.write(QStringLiteral("source.jpg"), source);
        QByteArray quality100;
        QString error;
        ASSERT_TRUE(composeAndEncodeNotice(path, options, false, &quality100, &error))
            << error.toStdString();
        const QImage reference = decodePlain(quality100);
        const int textTop = std::max(0, outputHeight - 18);
        EXPECT_LT(meanDifference(keptPicture, reference, textTop, outputHeight), 10.0);
        // the text is there, as much of it as on the other path
        const int bright = brightPixels(keptPicture, textTop, outputHeight);
        const int brightThere = brightPixels(reference, textTop, outputHeight);
        EXPECT_GT(brightThere, 20);
        EXPECT_GT(bright, brightThere * 6 / 10);
        EXPECT_LT(bright, brightThere * 14 / 10);

        // the size: the source's, within 6 %, and the strip (the notice's rows
        // encoded alone as the source is)
        const int stripTop = std::max(0, outputHeight - 20);
        const QByteArray strip = encodedJpeg(
            QImage(reference.copy(0, stripTop, reference.width(), outputHeight - stripTop))
                .convertToFormat(QImage::Format_RGB32),
            c.how);
        EXPECT_LE(double(kept.size()), 1.06 * double(source.size()) + double(strip.size()))
            << kept.size() << " from " << source.size() << " and a strip of " << strip.size();
    }
}

// Pictures the coefficient path cannot take are left to the quality-100 path,
// with nothing written.
TEST(KeptQualityNotice, LeavesOtherPicturesToTheQuality100Path) {
    const QImage picture = photoLike(64, 48);
    const QByteArray plain = encodedJpeg(picture, {});
    QByteArray png;
    {
        QBuffer device(&png);
        device.open(QIODevice::WriteOnly);
        ASSERT_TRUE(picture.save(&device, "PNG"));
    }
    JpegEncoding arithmetic;
    arithmetic.arithmetic = true;
    JpegEncoding cmyk;
    cmyk.cmyk = true;
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"PNG", png},
        {"EXIF orientation 6", withSegments(plain, exifWithOrientation(6))},
        {"arithmetic coding", encodedJpeg(picture, arithmetic)},
        {"CMYK", encodedJpeg(picture, cmyk)},
        {"cut short", plain.left(plain.size() / 2)},
        {"header only", plain.left(200)},
        {"empty", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.isEmpty() && std::strcmp(c.name, "empty") != 0);
        QByteArray out;
        EXPECT_EQ(stampJpegKeepingQuality(c.bytes, {kNotice, true}, &out).result,
                  KeptQualityNotice::Result::UseQuality100);
        EXPECT_TRUE(out.isEmpty());
    }
}

// What the notice reaches, in the grid of blocks.
TEST(NoticeBand, StartsAtTheIMcuBoundaryAboveTheNoticeAndMapsBlocksToChangedPixels) {
    const struct {
        int outputHeight, imcu, start;
    } starts[] = {
        {120, 16, 80}, // 100 rows and the strip: the notice reaches row 88
        {116, 16, 80}, {112, 8, 80}, {96, 8, 64}, {33, 16, 0}, {32, 16, 0}, {12, 16, 0}, {0, 8, 0},
    };
    for (const auto& s : starts)
        EXPECT_EQ(noticeBandStart(s.outputHeight, s.imcu), s.start)
            << s.outputHeight << " rows, iMCU " << s.imcu;

    ChangedCells cells(40, 32);
    EXPECT_FALSE(cells.any());
    EXPECT_EQ(cells.firstChangedRow(), 32);
    cells.markPixel(17, 9); // cell (2, 1)
    cells.markPixel(40, 0); // outside: ignored
    EXPECT_TRUE(cells.any());
    EXPECT_EQ(cells.firstChangedRow(), 8);
    // full resolution: the block of that cell only
    EXPECT_TRUE(cells.blockChanged(2, 1, 2, 2, 2, 2));
    EXPECT_FALSE(cells.blockChanged(1, 1, 2, 2, 2, 2));
    EXPECT_FALSE(cells.blockChanged(2, 0, 2, 2, 2, 2));
    // 4:2:0 chroma: one block covers 2 × 2 cells
    EXPECT_TRUE(cells.blockChanged(1, 0, 1, 1, 2, 2));
    EXPECT_FALSE(cells.blockChanged(0, 0, 1, 1, 2, 2));
    EXPECT_FALSE(cells.blockChanged(1, 1, 1, 1, 2, 2));
    // 4:2:2 chroma: 2 cells across, 1 down
    EXPECT_TRUE(cells.blockChanged(1, 1, 1, 2, 2, 2));
    EXPECT_FALSE(cells.blockChanged(1, 0, 1, 2, 2, 2));
    // blocks past the band's edge (padding) hold no changed pixel
    EXPECT_FALSE(cells.blockChanged(9, 9, 2, 2, 2, 2));
    cells.markRows(30, 99);
    EXPECT_TRUE(cells.blockChanged(4, 3, 2, 2, 2, 2));
    EXPECT_FALSE(cells.blockChanged(4, 2, 2, 2, 2, 2));
}
