#pragma once
// The JPEG encoder on TurboJPEG: compresses the image buffer's own memory in place.

#include "imaging/jpegencoder.h"

// Always 4:4:4 sampling and the accurate DCT, so quality 100 keeps fine colour
// detail. Each thread keeps one compressor for its whole life. Stateless, so one
// instance serves every caller.
class TurboJpegEncoder final : public JpegEncoder {
public:
    bool encode(const cDIBSection& buffer, int quality, QByteArray* out,
                JpegEncodeError* error) override;
};
