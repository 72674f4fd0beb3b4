#pragma once
// The seam between the JPEG writer and the library that does the encoding.

#include <QString>
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

class JpegEncoder {
public:
    // Takes the finished JPEG in one piece; the bytes are valid only during the
    // call. Returns false when it cannot keep them.
    using Sink = std::function<bool(const char* data, qsizetype size)>;

    virtual ~JpegEncoder() = default;
    // Encodes the whole buffer as a colour JPEG of the buffer's size, upright, at
    // `quality` (1 to 100) and hands it to `sink`. An empty buffer or a quality
    // outside 1 to 100 is an encoding error and reaches no sink. Shows nothing.
    virtual bool encode(const cDIBSection& buffer, int quality, const Sink& sink,
                        JpegEncodeError* error) = 0;
};
