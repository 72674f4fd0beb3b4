#include "core/imaging/jpegcompressor.h"

#include "core/imaging/dibsection.h"
#include "core/imaging/jpegarraydestination.h"
#include "core/imaging/jpeglibsupport.h"
#include "core/imaging/jpegmetadatawriter.h"

#include <algorithm>

namespace {

constexpr int kRowsAtOnce = 16;

// No C++ object with a destructor lives in this frame, since errors jump back into it.
bool compress(const cDIBSection* buffer, int quality, const JpegMetadataSegments* metadata,
              QByteArray* out, JpegRowSource source) {
    jpeg_compress_struct info{};
    JpegErrorJump errors;
    info.err = setUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    JpegArrayDestination dest{};
    useJpegArrayDestination(&info, &dest, out);

    const int rowsInAll = buffer->Height();
    info.image_width = JDIMENSION(buffer->Width());
    info.image_height = JDIMENSION(rowsInAll);
    info.in_color_space = JCS_EXT_BGR;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    jpeg_set_colorspace(&info, JCS_YCbCr);
    for (int c = 0; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    setJpegDensity(&info, *metadata);
    jpeg_start_compress(&info, TRUE);
    writeJpegMetadata(&info, *metadata);
    JSAMPROW rows[kRowsAtOnce];
    while (int(info.next_scanline) < rowsInAll) {
        const int first = int(info.next_scanline);
        const int count = std::min(kRowsAtOnce, rowsInAll - first);
        if (source.ready && !source.ready(source.context, first + count)) {
            jpeg_destroy_compress(&info);
            return false;
        }
        for (int i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(buffer->scanLine(first + i)); // only read
        jpeg_write_scanlines(&info, rows, JDIMENSION(count));
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

bool compressBuffer(const cDIBSection& buffer, int quality, const JpegMetadataSegments& metadata,
                    QByteArray* out, JpegRowSource source) {
    if (buffer.isEmpty() || !out || quality < 1 || quality > 100)
        return false;
    *out = QByteArray(std::max<qsizetype>(qsizetype(buffer.Width()) * buffer.Height(), 1 << 16),
                      Qt::Uninitialized);
    return compress(&buffer, quality, &metadata, out, source);
}
