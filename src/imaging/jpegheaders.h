#pragma once
// What the stamping path needs from a JPEG's header segments before decoding
// it itself: the EXIF orientation and the colour profile carried in APP2.

#include <QByteArray>
#include <QByteArrayView>

struct JpegHeaderFacts {
    // False when the segments before the picture data cannot be walked (not a
    // JPEG, cut short) or the EXIF or profile segments are malformed; the
    // picture is then left to the general reader.
    bool understood = false;
    int orientation = 1;   // EXIF tag 0x0112; 1 when there is none
    QByteArray iccProfile; // the APP2 "ICC_PROFILE" chunks joined as they come; may be empty
};

JpegHeaderFacts ReadJpegHeaderFacts(QByteArrayView jpeg);
