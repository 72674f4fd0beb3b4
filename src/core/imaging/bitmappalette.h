#pragma once
// The fixed colour tables of bitmap files with 8 bits per pixel or fewer.

#include <QList>
#include <QRgb>

// 1 bit: black and white. 4 bits: the 16 standard VGA colours in their usual
// order. 8 bits: the 6 × 6 × 6 colour cube (levels 0, 51, ... 255, blue fastest)
// followed by a ramp of 40 greys between its levels. Empty for other depths.
QList<QRgb> defaultBitmapPalette(int bitCount);
