#pragma once
// The visible notice: one line of white bold text on a black strip added under
// the picture (enlarge) or over its bottom (direct), encoded as JPEG quality 100.

#include <QByteArray>
#include <QImage>
#include <QString>

struct NoticeOptions {
    QString text;        // one line; clipped at the right edge, never wrapped
    bool enlarge = true; // true: strip of 20 pixels added under the picture
};

// The output name of "-cop.jpg" naming: the file name lower-cased, ".jpeg" and
// ".jpg" removed from it, "-cop.jpg" added; the folder stays as it is.
QString CopName(const QString& sourcePath);

// Decodes the picture at `sourcePath` (BMP, GIF, JPEG, PNG; EXIF orientation
// applied, transparency over black, oversized pictures refused) and composes the
// notice on it. On failure returns a null image and a German reason in `error`.
QImage ComposeNotice(const QString& sourcePath, const NoticeOptions& options, QString* error);

// Encodes a composed picture as JPEG quality 100 (4:4:4), carrying the ICC
// profile of its colour space when it has one. On failure returns false and a German reason in
// `error`.
bool EncodeNoticeJpeg(const QImage& composed, QByteArray* jpeg, QString* error);
