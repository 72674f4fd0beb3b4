#include "core/imaging/jpegmetadatawriter.h"

#include <cstdio>

#include <jpeglib.h>

namespace {

void writeMarker(jpeg_compress_struct* info, int marker, const QByteArray& body) {
    if (!body.isEmpty())
        jpeg_write_marker(info, marker, reinterpret_cast<const JOCTET*>(body.constData()),
                          unsigned(body.size()));
}

} // namespace

void setJpegDensity(jpeg_compress_struct* info, const JpegMetadataSegments& segments) {
    if (!segments.density.present)
        return;
    info->density_unit = segments.density.unit;
    info->X_density = segments.density.x;
    info->Y_density = segments.density.y;
}

void writeJpegMetadata(jpeg_compress_struct* info, const JpegMetadataSegments& segments) {
    writeMarker(info, JPEG_APP0 + 1, segments.exifApp1);
    writeMarker(info, JPEG_APP0 + 1, segments.xmpApp1);
    if (!segments.icc.isEmpty())
        jpeg_write_icc_profile(info, reinterpret_cast<const JOCTET*>(segments.icc.constData()),
                               unsigned(segments.icc.size()));
    writeMarker(info, JPEG_APP0 + 13, segments.iptcApp13);
    for (const QByteArray& comment : segments.comments)
        writeMarker(info, JPEG_COM, comment);
}
