#pragma once
// Shared test helpers: temporary folders with real files, and small readers.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "support/jpegfixtures.h" // JPEG pictures, segments and EXIF

// A temporary folder that is removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    QString path() const { return dir_.path(); }
    // Full path of a name inside the folder.
    QString file(const QString& name) const;
    // Writes bytes to a name inside the folder (creating sub-folders) and returns
    // its path. Names that are no UTF-8 come from fileNameFromBytes.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};

QByteArray readAll(const QString& path);

// Appends one copyright block with `text` (Windows-1252 bytes) behind the last
// byte of the existing file at `path`, as a stamping run leaves it; false when
// there is no such file or it cannot be written.
bool appendBlock(const QString& path, const QByteArray& text);

// Empty when the file at `path` is a complete stamped output: its contents are
// followed by exactly one block, whose entry holds `text`; else what is wrong.
// With `picture` its contents must also decode as a picture.
QString checkStamped(const QString& path, const QByteArray& text, bool picture);

// A small JPEG picture of its own (the seed makes each one differ).
QByteArray smallJpeg(int width, int height, int seed);

// A picture with detail in every row (gradients and fine texture), so that a
// cut or a broken byte lands in its pixel data.
QImage detailedPicture(int width, int height);
// The picture in a format Qt writes ("BMP", "JPEG", "PNG"), JPEG at `quality`.
QByteArray encodedPicture(const QImage& picture, const char* format, int quality = 90);
// A GIF of 128 blues and yellows, its pixel data stored without compression.
QByteArray smallGif(int width, int height);
