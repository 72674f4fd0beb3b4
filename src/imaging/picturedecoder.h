#pragma once
// Decodes a source picture (BMP, GIF, JPEG, PNG) as people see it: EXIF
// orientation applied, pictures too large to hold refused before decoding.

#include <QImage>
#include <QString>

// The largest picture accepted: 30 000 pixels on a side, 200 megapixels in all.
inline constexpr int kMaxPictureSide = 30000;
inline constexpr qint64 kMaxPicturePixels = 200'000'000;

// Returns the decoded picture, or a null image and a German reason in `error`.
QImage DecodePicture(const QString& path, QString* error);
