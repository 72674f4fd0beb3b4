#pragma once
// Encodes an image buffer with libjpeg as the stamping path needs it: 4:4:4
// sampling and the accurate DCT, the metadata segments in the header, and the
// rows read as a caller says they are ready (so a decoder may still be filling
// the buffer below them).

#include "core/imaging/picturemetadata.h"

#include <QByteArray>

class cDIBSection;

// Asked before the encoder reads rows up to `rows` (counted from the top);
// false stops the encoding.
struct JpegRowSource {
    bool (*ready)(void* context, int rows) = nullptr; // null: every row is ready
    void* context = nullptr;
};

// Encodes `buffer` at `quality` (1 to 100) into `out`. False when libjpeg
// fails or the source stops it; `out` is then undefined.
bool compressBuffer(const cDIBSection& buffer, int quality, const JpegMetadataSegments& metadata,
                    QByteArray* out, JpegRowSource source = {});
