#include "support/jpegfixtures.h"

#include "core/imaging/jpeglibsupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

QByteArray encodedJpeg(const QImage& picture, const JpegEncoding& how) {
    const QImage rgb =
        picture.convertToFormat(how.cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
    jpeg_compress_struct info{};
    JpegErrorJump errors;
    info.err = setUpJpegErrors(&errors);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(out);
        ADD_FAILURE() << "libjpeg could not encode the test picture";
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = how.cmyk ? 4 : 3;
    info.in_color_space = how.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, how.quality, TRUE);
    if (how.cmyk) {
        jpeg_set_colorspace(&info, JCS_YCCK);
    } else if (how.h == 0) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    } else {
        info.comp_info[0].h_samp_factor = how.h;
        info.comp_info[0].v_samp_factor = how.v;
    }
    info.arith_code = how.arithmetic ? TRUE : FALSE;
    info.optimize_coding = how.optimised ? TRUE : FALSE;
    if (how.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return jpeg;
}

QList<JpegHeaderSegment> jpegHeaderSegments(const QByteArray& jpeg) {
    QList<JpegHeaderSegment> segments;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xFF;) {
        const int length = quint8(jpeg[at + 2]) << 8 | quint8(jpeg[at + 3]);
        segments.append({quint8(jpeg[at + 1]), at, jpeg.mid(at + 4, length - 2)});
        if (segments.back().marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

QByteArray jpegSegment(const char* markerHex, const QByteArray& body) {
    QByteArray bytes = QByteArray::fromHex(markerHex);
    const auto length = quint16(body.size() + 2);
    return bytes.append(char(length >> 8)).append(char(length & 0xFF)).append(body);
}

QByteArray withSegments(const QByteArray& jpeg, const QByteArray& segments) {
    return jpeg.left(2) + segments + jpeg.mid(2);
}

QByteArray exifWithOrientation(int orientation, bool bigEndian) {
    QByteArray body("Exif\0\0", 6);
    const char value = char(orientation);
    if (bigEndian) // TIFF header, one entry: orientation (0x0112), SHORT, 1, value; no next IFD
        body += QByteArray::fromHex("4d4d002a000000080001011200030000000100") + value +
                QByteArray::fromHex("000000000000");
    else
        body += QByteArray::fromHex("49492a000800000001001201030001000000") + value +
                QByteArray::fromHex("00000000000000");
    return jpegSegment("ffe1", body);
}

QByteArray corruptJpeg(const QByteArray& jpeg) {
    const QList<JpegHeaderSegment> segments = jpegHeaderSegments(jpeg);
    if (segments.isEmpty() || segments.back().marker != 0xDA)
        return {};
    const qsizetype dataStart = segments.back().at + 4 + segments.back().body.size();
    qsizetype at = dataStart + (jpeg.size() - dataStart) / 2;
    while (at < jpeg.size() && uchar(jpeg[at - 1]) == 0xFF)
        ++at;
    QByteArray broken = jpeg;
    for (int i = 0; i < 16 && at + 1 < broken.size() - 2; ++i, at += 2) {
        broken[at] = char(0xFF); // a stuffed 0xFF: eight one bits
        broken[at + 1] = 0;
    }
    return broken;
}
