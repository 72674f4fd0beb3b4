#pragma once
// The run's copyright text in the places photo tools read it: EXIF Copyright,
// XMP dc:rights (x-default, with xmpRights:Marked True) and IPTC Copyright
// Notice (UTF-8, marked so in the envelope, cut to the 128 bytes IPTC allows);
// put into a copy's header as well, and read back from any file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace Exiv2 {
class ExifData;
class XmpData;
class IptcData;
} // namespace Exiv2

// The longest IPTC Copyright Notice, in bytes.
inline constexpr int kIptcCopyrightBytes = 128;

void putCopyrightIntoExif(Exiv2::ExifData& exif, const QString& copyright);
void putCopyrightIntoXmp(Exiv2::XmpData& xmp, const QString& copyright);
void putCopyrightIntoIptc(Exiv2::IptcData& iptc, const QString& copyright);

// The longest start of `text` that is at most `bytes` long in UTF-8, cut
// between characters.
QByteArray utf8Prefix(const QString& text, int bytes);

// Puts the copyright into the header segments of a JPEG (EXIF, XMP, IPTC) or
// PNG (XMP) file held in memory; the picture data and anything after the
// picture stay as they are. Files of other kinds are left alone (true). False
// with a German reason in `problem` when the header cannot be written; `file`
// is then unchanged.
bool putCopyrightIntoFile(QByteArray* file, const QString& copyright, QString* problem);

// What the three places hold in a file; nullopt where a place is empty.
struct CopyrightCarriers {
    std::optional<QString> exifCopyright;
    std::optional<QString> xmpRights;
    std::optional<QString> iptcCopyrightNotice;
};

// Reads the three places of the file at `path`; a file without metadata, or
// one that is no picture, gives three empty places.
CopyrightCarriers readCopyrightCarriers(const QString& path);
