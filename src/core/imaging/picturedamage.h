#pragma once
// Whether a picture's data is there whole and decodes. Qt's readers make up
// what a cut-short or broken JPEG, GIF or BMP lacks (grey, black or
// transparent rows) and call the picture read; these checks catch that. Each
// is true only when the data is provably damaged: a file it cannot judge
// (unreadable, another format, a header it does not know) is left to the
// reader. Bytes after the picture's end, where a copyright block sits, are
// never looked at.

#include <QString>

// Decodes the whole stream at little cost (one eighth of the size) and watches
// for the decoder's warnings of missing or undecodable data.
bool isJpegDataDamaged(const QString& path);
// Decodes the first frame, the one the reader shows.
bool isGifDataDamaged(const QString& path);
// Compares the pixel data the header declares with the file's length.
bool isBitmapDataDamaged(const QString& path);
