#include "core/imaging/bitmappalette.h"

namespace {

QList<QRgb> blackAndWhite() {
    return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}

QList<QRgb> vgaColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QList<QRgb> colourCubeAndGreys() {
    QList<QRgb> palette;
    palette.reserve(256);
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue)
                palette.append(qRgb(red * 51, green * 51, blue * 51));
    // 40 greys spread evenly between black and white (6, 12, ... 249); none of
    // them falls on a level of the cube.
    for (int i = 1; i <= 40; ++i) {
        const int grey = (i * 255 + 20) / 41;
        palette.append(qRgb(grey, grey, grey));
    }
    return palette;
}

} // namespace

QList<QRgb> defaultBitmapPalette(int bitCount) {
    switch (bitCount) {
    case 1:
        return blackAndWhite();
    case 4:
        return vgaColours();
    case 8:
        return colourCubeAndGreys();
    default:
        return {};
    }
}
