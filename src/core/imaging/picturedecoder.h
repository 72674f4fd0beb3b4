#pragma once
// Decodes a source picture (BMP, GIF, JPEG, PNG) as people see it: EXIF
// orientation applied, pictures too large to hold refused before decoding.

#include "core/imaging/picturemetadata.h"

#include <QImage>
#include <QString>

#include <optional>

// The largest picture accepted: 30 000 pixels on a side, 200 megapixels in all.
inline constexpr int kMaxPictureSide = 30000;
inline constexpr qint64 kMaxPicturePixels = 200'000'000;

// True when a picture of `size` is beyond the limits above.
bool isPictureTooLarge(QSize size);
// The German reason for refusing the picture at `path` of `size`.
QString pictureTooLargeReason(const QString& path, QSize size);

struct DecodedPicture {
    QImage image;
    // True when `image` is a canvas `extraRows` taller than the picture, the
    // picture in its top rows and black below; false when it is the picture.
    bool onCanvas = false;
    // The source's metadata when decoding had to read it (a PNG's, for its
    // orientation), so that the caller need not read the file once more.
    std::optional<PictureMetadata> metadata;
};

// Decodes the picture at `path`. With `extraRows` > 0 it decodes straight into
// the top of a taller opaque canvas where the format allows (saving a copy of
// the whole picture); otherwise it returns the picture alone. On failure the
// image is null and `error` holds a German reason.
DecodedPicture decodePicture(const QString& path, int extraRows, QString* error);
