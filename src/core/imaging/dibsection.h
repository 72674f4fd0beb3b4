#pragma once
// The image buffer: one picture as 24-bit blue-green-red pixels, rows bottom-up,
// each row padded to a multiple of 4 bytes; the JPEG encoder reads it in place.

#include <QtGlobal>
#include <optional>

class QImage;

class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection() { ClearUp(); }
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;
    cDIBSection(cDIBSection&& other) noexcept;
    cDIBSection& operator=(cDIBSection&& other) noexcept;

    // Row length in bytes for a width: 3 × width rounded up to a multiple of 4.
    // Empty for a width of 0 or less, or when the row length does not fit in 32 bits.
    static std::optional<int> strideForWidth(int width);

    // Makes a buffer of lWidth × lHeight pixels, every byte 0 (black, so a strip
    // left unpainted under a picture is already black). Refuses, and leaves the
    // buffer empty, for a size of 0 or less, a row length or block that does not
    // fit in 32 bits, or a block that cannot be allocated. The old picture is
    // released first in every case.
    bool Create(int lWidth, int lHeight);

    // Makes the buffer a 24-bit copy of `picture`: its top row lands in the last
    // row of the block. Any format is converted; pixels with transparency are
    // composed over black (colour times alpha). A null picture or a failed
    // creation leaves the buffer empty and returns false.
    bool CreateFromPicture(const QImage& picture);

    // A 32-bit top-down copy of the picture; a null image when empty.
    QImage toPicture() const;

    // Releases the pixel block; the buffer is empty afterwards.
    void ClearUp();

    bool isEmpty() const { return !bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row length in bytes of the current picture; 0 when empty.
    int BytesPerScanLine() const { return stride_; }
    // Length of the whole block (BytesPerScanLine × Height); 0 when empty.
    qsizetype sizeImage() const { return qsizetype(stride_) * height_; }

    // First byte of the block, that is the first byte of the picture's bottom row;
    // nullptr when empty.
    uchar* DIBSectionBitsPtr() { return bits_; }
    const uchar* DIBSectionBitsPtr() const { return bits_; }

    // First byte of a row in top-down picture coordinates (row 0 is the top row).
    // The row must lie in 0 .. Height() - 1.
    uchar* scanLine(int pictureRow) {
        return bits_ + qsizetype(height_ - 1 - pictureRow) * stride_;
    }
    const uchar* scanLine(int pictureRow) const {
        return bits_ + qsizetype(height_ - 1 - pictureRow) * stride_;
    }

private:
    uchar* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};
