#pragma once
// The seam between the JPEG writer and the library that does the encoding.

#include <QByteArray>
#include <QString>

class cDIBSection;

// Why an encoding failed: the encoder could not be set up at all (with the
// library's status number), or this picture could not be encoded.
struct JpegEncodeError {
    enum class Kind { None, Initialise, Encode };
    Kind kind = Kind::None;
    int status = 0;
    QString text;
};

class JpegEncoder {
public:
    virtual ~JpegEncoder() = default;
    // Encodes the whole buffer as a colour JPEG of the buffer's size, upright, at
    // `quality` (1 to 100) and replaces the contents of `out` with it. An empty
    // buffer or a quality outside 1 to 100 is an encoding error. Shows nothing.
    virtual bool encode(const cDIBSection& buffer, int quality, QByteArray* out,
                        JpegEncodeError* error) = 0;
};
