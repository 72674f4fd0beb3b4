#pragma once
// The JPEG encoder on TurboJPEG: compresses the image buffer's own memory in place.

#include <QString>
#include <QtGlobal>
#include <functional>

class cDIBSection;

// Why an encoding failed: the encoder could not be set up at all (with the
// library's status number), or this picture could not be encoded, or the sink
// refused the bytes.
struct JpegEncodeError {
    enum class Kind { None, Initialise, Encode, Sink };
    Kind kind = Kind::None;
    int status = 0;
    QString text;
};

// Takes the finished JPEG in one piece; the bytes are valid only during the
// call. Returns false when it cannot keep them.
using JpegSink = std::function<bool(const char* data, qsizetype size)>;

// Encodes the whole buffer as a colour JPEG of the buffer's size, upright, at
// `quality` (1 to 100) and hands it to `sink`. An empty buffer or a quality
// outside 1 to 100 is an encoding error and reaches no sink. Shows nothing.
// Always 4:4:4 sampling and the accurate DCT, so quality 100 keeps fine colour
// detail. Each thread keeps one compressor and one output block for its whole
// life; the block grows to the worst case of the largest picture the thread has
// encoded (only the part a JPEG actually filled is resident), so later pictures
// cost no fresh memory.
bool encodeWithTurboJpeg(const cDIBSection& buffer, int quality, const JpegSink& sink,
                         JpegEncodeError* error);
