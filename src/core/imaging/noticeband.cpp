#include "core/imaging/noticeband.h"

#include "core/imaging/noticecomposer.h"

#include <algorithm>

namespace {
constexpr int kCell = 8;
}

int noticeBandStart(int outputHeight, int imcuHeight) {
    if (imcuHeight <= 0)
        return 0;
    const int reach = std::max(0, outputHeight - kNoticeBandRows);
    return reach / imcuHeight * imcuHeight;
}

ChangedCells::ChangedCells(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      columns_((width_ + kCell - 1) / kCell), rows_((height_ + kCell - 1) / kCell),
      cells_(std::size_t(columns_) * std::size_t(rows_), 0) {}

void ChangedCells::markPixel(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        cells_[std::size_t(y / kCell) * std::size_t(columns_) + std::size_t(x / kCell)] = 1;
}

void ChangedCells::markRows(int firstRow, int endRow) {
    firstRow = std::max(0, firstRow);
    endRow = std::min(height_, endRow);
    if (firstRow >= endRow)
        return;
    const int last = (endRow - 1) / kCell;
    for (int row = firstRow / kCell; row <= last; ++row)
        std::fill_n(cells_.begin() + std::ptrdiff_t(row) * columns_, columns_, std::uint8_t(1));
}

bool ChangedCells::blockChanged(int column, int row, int h, int v, int maxH, int maxV) const {
    if (h <= 0 || v <= 0 || maxH % h != 0 || maxV % v != 0)
        return true;             // a sampling this grid cannot map: the block is composed again
    const int across = maxH / h; // cells per block
    const int down = maxV / v;
    const int firstColumn = column * across;
    const int firstRow = row * down;
    const int endColumn = std::min(columns_, firstColumn + across);
    const int endRow = std::min(rows_, firstRow + down);
    for (int y = firstRow; y < endRow; ++y)
        for (int x = firstColumn; x < endColumn; ++x)
            if (cells_[std::size_t(y) * std::size_t(columns_) + std::size_t(x)])
                return true;
    return false;
}

bool ChangedCells::any() const {
    return std::find(cells_.begin(), cells_.end(), 1) != cells_.end();
}

int ChangedCells::firstChangedRow() const {
    const auto at = std::find(cells_.begin(), cells_.end(), 1);
    if (at == cells_.end())
        return height_;
    return int((at - cells_.begin()) / columns_) * kCell;
}
