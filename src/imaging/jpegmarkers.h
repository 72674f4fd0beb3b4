#pragma once
// The JPEG marker bytes that the header reader and the profile writer look for.

#include <QByteArrayView>
#include <QtGlobal>

namespace JpegMarker {
inline constexpr quint8 kPrefix = 0xFF; // every marker starts with it
inline constexpr quint8 kSoi = 0xD8;    // start of image
inline constexpr quint8 kEoi = 0xD9;    // end of image
inline constexpr quint8 kSos = 0xDA;    // start of scan: the picture data follow
inline constexpr quint8 kApp0 = 0xE0;   // JFIF
inline constexpr quint8 kApp1 = 0xE1;   // EXIF
inline constexpr quint8 kApp2 = 0xE2;   // ICC profile chunks
} // namespace JpegMarker

// The tag that opens each APP2 segment carrying a piece of a colour profile.
inline constexpr QByteArrayView kIccProfileTag("ICC_PROFILE\0", 12);
