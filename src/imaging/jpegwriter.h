#pragma once
// Writing an image buffer as a JPEG file (the routines of the former Module11).

#include <QByteArray>
#include <QString>

class cDIBSection;
struct CoreError;

// Encodes the buffer to memory, for callers that compose their own output.
// Shows nothing; on failure returns false, leaves `out` as it was and says why in `error`.
bool EncodeJpeg(const cDIBSection& buffer, int quality, QByteArray* out, QString* error);

// Encodes the buffer and writes it to `path`, replacing any file there. The file
// is written under a temporary name in the same folder and renamed over the
// target, so a failure leaves an earlier file untouched. Shows nothing: a
// failure returns false with its error in `error` (may be null) for the caller
// to show (DescribeCoreError gives "Failed to initialise the IJL library:
// <status>" or "Failed to save to JPG"); an empty buffer or an empty path never
// reaches the encoder. The file name is used as it is (UTF-8 on disk).
bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality,
                   CoreError* error = nullptr);
