#pragma once
// libjpeg's encoder output into a growing byte array, the one place that does
// it. The array outlives any error jump, so nothing leaks and nothing is freed
// twice when libjpeg stops half-way.

#include <QByteArray>
#include <cstdio>

#include <jpeglib.h>

struct JpegArrayDestination {
    jpeg_destination_mgr manager;
    QByteArray* out;
};

// Makes `destination` the output of `info`, writing into `out` from its start;
// the array's size when the encoder starts is the first room it gets (at least
// 64 KiB), and it ends truncated to the bytes written.
void useJpegArrayDestination(jpeg_compress_struct* info, JpegArrayDestination* destination,
                             QByteArray* out);
