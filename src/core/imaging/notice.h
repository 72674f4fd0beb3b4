#pragma once
// The visible notice: one line of white bold text on a black strip added under
// the picture (enlarge) or over its bottom (direct), encoded as JPEG quality 100.

#include "core/imaging/picturemetadata.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

class cDIBSection;

struct NoticeOptions {
    QString text;        // one line; clipped at the right edge, never wrapped
    bool enlarge = true; // true: strip of 20 pixels added under the picture
    MetadataRequest metadata =
        {}; // what of the source's metadata the JPEG carries, and the copyright
};

// The output name of "-cop.jpg" naming: the file name lower-cased, ".jpeg" and
// ".jpg" removed from it, "-cop.jpg" added; the folder stays as it is.
QString copPicturePath(const QString& sourcePath);

// Decodes the picture at `sourcePath` (BMP, GIF, JPEG, PNG; EXIF orientation
// applied, transparency over black, oversized pictures refused) and composes the
// notice on it. On failure returns a null image and a German reason in `error`.
// `metadataRead` (optional) receives the source's metadata when decoding read it.
QImage composeNoticePicture(const QString& sourcePath, const NoticeOptions& options, QString* error,
                            std::optional<PictureMetadata>* metadataRead = nullptr);

// Encodes a composed picture as JPEG quality 100 (4:4:4), carrying the ICC
// profile of its colour space when it has one, and nothing else. On failure
// returns false and a German reason in `error`.
bool encodeNoticeJpeg(const QImage& composed, QByteArray* jpeg, QString* error);

// The stamping path: decodes the picture and composes the notice in the image
// buffer, ready for the encoder. JPEG sources are decoded straight into the
// buffer and only the strip's rows are drawn; the picture is the same as
// composeNoticePicture gives. `metadata` receives the header segments of the output
// as `options.metadata` asks for them (see segmentsForOutput). On failure
// returns false and a German reason in `error`.
bool composeNoticeInBuffer(const QString& sourcePath, const NoticeOptions& options,
                           cDIBSection* buffer, JpegMetadataSegments* metadata, QString* error);

// Encodes a composed image buffer as encodeNoticeJpeg does, with `metadata` in its header.
bool encodeNoticeJpeg(const cDIBSection& buffer, const JpegMetadataSegments& metadata,
                      QByteArray* jpeg, QString* error);

// The whole notice step of the stamping path: the picture decoded, composed and
// encoded. With `secondThread`, JPEG sources are decoded on a second thread
// while the encoder follows; the bytes are the same either way. `notes` (may
// be null) receives the German lines on metadata of the source left out.
bool composeAndEncodeNotice(const QString& sourcePath, const NoticeOptions& options,
                            bool secondThread, QByteArray* jpeg, QString* error,
                            QStringList* notes = nullptr);
