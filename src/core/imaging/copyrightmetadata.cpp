#include "core/imaging/copyrightmetadata.h"

#include "core/base/filename.h"
#include "core/imaging/exiv2call.h"

#include <exiv2/exiv2.hpp>

namespace {

// The character-set record of IPTC's envelope for UTF-8 (ESC % G).
const std::string kIptcUtf8 = "\x1b%G";

std::optional<QString> nonEmpty(const std::string& text) {
    QString value = QString::fromUtf8(text);
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

} // namespace

QByteArray utf8Prefix(const QString& text, int bytes) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        // a surrogate pair is one character
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray character = text.mid(i, length).toUtf8();
        if (out.size() + character.size() > bytes)
            break;
        out += character;
        i += length;
    }
    return out;
}

void putCopyrightIntoExif(Exiv2::ExifData& exif, const QString& copyright) {
    exif["Exif.Image.Copyright"] = copyright.toStdString();
}

void putCopyrightIntoXmp(Exiv2::XmpData& xmp, const QString& copyright) {
    // other languages the source gave stay beside the default one
    Exiv2::LangAltValue rights;
    const auto found = xmp.findKey(Exiv2::XmpKey("Xmp.dc.rights"));
    if (found != xmp.end()) {
        if (const auto* given = dynamic_cast<const Exiv2::LangAltValue*>(&found->value()))
            rights.value_ = given->value_;
        xmp.erase(found);
    }
    rights.value_["x-default"] = copyright.toStdString();
    xmp.add(Exiv2::XmpKey("Xmp.dc.rights"), &rights);
    Exiv2::XmpTextValue marked("True");
    const auto markedAt = xmp.findKey(Exiv2::XmpKey("Xmp.xmpRights.Marked"));
    if (markedAt != xmp.end())
        xmp.erase(markedAt);
    xmp.add(Exiv2::XmpKey("Xmp.xmpRights.Marked"), &marked);
}

void putCopyrightIntoIptc(Exiv2::IptcData& iptc, const QString& copyright) {
    iptc["Iptc.Envelope.CharacterSet"] = kIptcUtf8;
    iptc["Iptc.Application2.Copyright"] = utf8Prefix(copyright, kIptcCopyrightBytes).toStdString();
}

bool putCopyrightIntoFile(QByteArray* file, const QString& copyright, QString* problem) {
    QByteArray written;
    QStringList complaints;
    const bool ok = callExiv2(
        [&] {
            const auto* bytes = reinterpret_cast<const Exiv2::byte*>(file->constData());
            const int type = Exiv2::ImageFactory::getType(bytes, long(file->size()));
            const bool jpeg = type == Exiv2::ImageType::jpeg;
            if (!jpeg && type != Exiv2::ImageType::png)
                return;
            Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(bytes, long(file->size()));
            image->readMetadata();
            putCopyrightIntoXmp(image->xmpData(), copyright);
            if (jpeg) {
                putCopyrightIntoExif(image->exifData(), copyright);
                putCopyrightIntoIptc(image->iptcData(), copyright);
            }
            image->writeMetadata();
            Exiv2::BasicIo& io = image->io();
            io.seek(0, Exiv2::BasicIo::beg);
            const Exiv2::DataBuf all = io.read(long(io.size()));
            written = QByteArray(reinterpret_cast<const char*>(all.pData_), all.size_);
        },
        &complaints);
    if (!ok) {
        if (problem)
            *problem = QStringLiteral("Das Copyright konnte nicht in die Metadaten geschrieben "
                                      "werden (%1); die Datei ist unverändert kopiert.")
                           .arg(complaints.value(complaints.size() - 1));
        return false;
    }
    if (!written.isEmpty())
        *file = std::move(written);
    return true;
}

CopyrightCarriers readCopyrightCarriers(const QString& path) {
    CopyrightCarriers carriers;
    callExiv2([&] {
        const std::string name = fileNameToBytes(path).toStdString();
        if (Exiv2::ImageFactory::getType(name) == Exiv2::ImageType::none)
            return;
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(name);
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        if (const auto at = exif.findKey(Exiv2::ExifKey("Exif.Image.Copyright")); at != exif.end())
            carriers.exifCopyright = nonEmpty(at->toString());
        const Exiv2::XmpData& xmp = image->xmpData();
        if (const auto at = xmp.findKey(Exiv2::XmpKey("Xmp.dc.rights")); at != xmp.end()) {
            const auto* rights = dynamic_cast<const Exiv2::LangAltValue*>(&at->value());
            if (rights && rights->value_.count("x-default"))
                carriers.xmpRights = nonEmpty(rights->value_.at("x-default"));
            else if (rights && !rights->value_.empty())
                carriers.xmpRights = nonEmpty(rights->value_.begin()->second);
            else
                carriers.xmpRights = nonEmpty(at->toString());
        }
        const Exiv2::IptcData& iptc = image->iptcData();
        if (const auto at = iptc.findKey(Exiv2::IptcKey("Iptc.Application2.Copyright"));
            at != iptc.end())
            carriers.iptcCopyrightNotice = nonEmpty(at->toString());
    });
    return carriers;
}
