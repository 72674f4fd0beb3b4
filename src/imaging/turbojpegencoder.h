#pragma once
// The JPEG encoder on TurboJPEG: compresses the image buffer's own memory in place.

#include "imaging/jpegencoder.h"

// Always 4:4:4 sampling and the accurate DCT, so quality 100 keeps fine colour
// detail. Each thread keeps one compressor and one output block for its whole
// life; the block grows to the worst case of the largest picture the thread has
// encoded (only the part a JPEG actually filled is resident), so later pictures
// cost no fresh memory. Stateless itself: one instance serves every caller.
class TurboJpegEncoder final : public JpegEncoder {
public:
    bool encode(const cDIBSection& buffer, int quality, const Sink& sink,
                JpegEncodeError* error) override;
};
