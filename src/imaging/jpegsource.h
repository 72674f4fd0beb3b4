#pragma once
// JPEG sources decoded with TurboJPEG straight into the image buffer, the rows
// under the picture left black for the notice strip: no 32-bit copy of the
// picture and no conversion on the way to the encoder.

#include <QByteArray>
#include <QString>

class cDIBSection;

struct DirectJpeg {
    enum class Result {
        Decoded,          // the buffer holds the picture
        UseGeneralReader, // not for this path; the buffer is empty
        Refused,          // too large to decode; `error` says so in German
    };
    Result result = Result::UseGeneralReader;
    QByteArray iccProfile; // the picture's valid colour profile, else empty
    QString error;
};

// Decodes the JPEG at `path` into `buffer`, sized width × (height + extraRows),
// the picture in the top rows. Anything out of the ordinary (no JPEG, an EXIF
// turn, CMYK, a damaged stream, even one the decoder only warns about) is left
// to the general reader, so those pictures come out exactly as before.
DirectJpeg DecodeJpegIntoBuffer(const QString& path, int extraRows, cDIBSection* buffer);
