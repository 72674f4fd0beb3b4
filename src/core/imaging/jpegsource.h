#pragma once
// JPEG sources decoded with TurboJPEG straight into the image buffer, the rows
// under the picture left black for the notice strip: no 32-bit copy of the
// picture and no conversion on the way to the encoder.

#include "core/imaging/dibsection.h"
#include "core/imaging/picturemetadata.h"

#include <QByteArray>
#include <QString>

struct DirectJpeg {
    enum class Result {
        Decoded,          // the buffer holds the picture
        UseGeneralReader, // not for this path; the buffer is empty
        Refused,          // too large to decode; `error` says so in German
    };
    Result result = Result::UseGeneralReader;
    PictureMetadata metadata; // what the file carries besides the picture
    QString error;
};

// The file at `path` read whole when it starts as a JPEG does and is no larger
// than any picture may be; empty otherwise.
QByteArray readJpegFile(const QString& path);

// Decodes the JPEG at `path` into `buffer`, sized width × (height + extraRows),
// the picture in the top rows. Anything out of the ordinary (no JPEG, an EXIF
// turn, CMYK, a damaged stream, even one the decoder only warns about) is left
// to the general reader, so those pictures come out exactly as before.
DirectJpeg decodeJpegIntoBuffer(const QString& path, int extraRows, cDIBSection* buffer);

// A JPEG source made ready for decoding: read whole, its header checked, the
// buffer made (all black) for width × (height + extraRows).
struct JpegSource {
    enum class State { Ready, UseGeneralReader, Refused };
    State state = State::UseGeneralReader;
    QString error;            // German, when refused
    QByteArray data;          // the whole file
    PictureMetadata metadata; // what the file carries besides the picture
    cDIBSection buffer;
};

// The checks of decodeJpegIntoBuffer short of decoding.
JpegSource openJpegSource(const QString& path, int extraRows);
