#pragma once
// Where the notice lies in a JPEG's grid of blocks: the bottom rows that are
// decoded and composed (from an iMCU boundary down), and which blocks of each
// component hold a pixel the notice changed. Pure geometry, no libjpeg.

#include <cstdint>
#include <vector>

// The rows decoded and composed for the notice: from the last iMCU boundary
// at or above the rows the notice line can reach, to the bottom of the output.
// `outputHeight` counts the strip in enlarge mode.
int noticeBandStart(int outputHeight, int imcuHeight);

// Changed pixels of a band, kept per cell of 8 × 8 pixels (the footprint of a
// full-resolution block).
class ChangedCells {
public:
    ChangedCells(int width, int height); // the band's size in pixels
    void markPixel(int x, int y);
    void markRows(int firstRow, int endRow); // every pixel of rows [first, end)
    // Whether a block of a component sampled h × v (of the largest factors
    // maxH × maxV) at block column `column`, row `row` of the band covers a
    // changed pixel.
    bool blockChanged(int column, int row, int h, int v, int maxH, int maxV) const;
    bool any() const;
    // The first band row with a changed pixel; the band's height when none.
    int firstChangedRow() const;

private:
    int width_;
    int height_;
    int columns_;
    int rows_;
    std::vector<std::uint8_t> cells_;
};
