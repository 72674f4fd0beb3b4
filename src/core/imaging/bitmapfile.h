#pragma once
// Writing a picture as an uncompressed bitmap (BMP) file (the routines of the
// former Module1).

#include <QList>
#include <QString>

class QImage;
class cDIBSection;
struct CoreError;

// Result codes of WriteBitmapFile other than the file's length.
enum BitmapFileResult : int {
    BitmapUnexpectedError = 0, // the file could not be written
    BitmapUnsupportedDepth = -1,
    BitmapNoPicture = -2,        // a null picture
    BitmapConversionFailed = -3, // the picture could not be converted to the depth
};

// Turns a colour 0x00BBGGRR into 0x00RRGGBB; the highest byte is dropped.
quint32 SwapRedBlue(quint32 colour);

// Writes `picture` to `path` with `bitCount` bits per pixel (1, 4, 8, 16, 24 or
// 32), replacing any file there, and returns the file's length. Rows go bottom-up,
// padded to 4 bytes. 32 bits: blue, green, red, 0. 24 bits: blue, green, red.
// 16 bits: 5-5-5. 8, 4 and 1 bits: each pixel as the nearest colour of
// defaultBitmapPalette, or, when `colourList` (colours 0x00BBGGRR) has exactly as
// many entries as the table, of that list, which then becomes the colour table.
// 16, 24 and 32-bit files carry one zero colour entry, so their pixels begin at
// offset 58. Transparent pixels are composed over black.
// Shows nothing: an unsupported depth returns -1 and a write failure 0, each
// with its error in `error` (may be null) for the caller to show
// (describeCoreError gives "Fehler!" CR LF "Dieses Bildformat wird nicht
// unterstützt!", or "Fehler!" CR LF and the reason); -2 and -3 come without an
// error of their own. Only a successful write replaces an earlier file.
int WriteBitmapFile(const QImage& picture, int bitCount, const QString& path,
                    const QList<quint32>* colourList = nullptr, CoreError* error = nullptr);

// How a bitmap file replaces an earlier one.
enum class BitmapWriteMode {
    Replace, // under a temporary name, renamed over it when complete
    InPlace, // rewritten where it lies and cut to its length, for a file written
             // for every picture of a run (a new file each time costs the file
             // system more than the write); a failure may leave it half written
};

// Writes an image buffer as WriteBitmapFile writes its picture (the same
// bytes), straight from the buffer's rows at 24 and 32 bits.
int WriteBitmapFile(const cDIBSection& picture, int bitCount, const QString& path,
                    CoreError* error = nullptr, BitmapWriteMode mode = BitmapWriteMode::Replace);
