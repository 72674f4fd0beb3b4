#include "core/imaging/picturemetadata.h"

#include "core/base/filename.h"
#include "core/imaging/copyrightmetadata.h"
#include "core/imaging/exiv2call.h"
#include "core/imaging/jpeglibsupport.h"

#include <QFile>

#include <cstdlib>
#include <exiv2/exiv2.hpp>

namespace {

// Larger files are not read whole for their metadata.
constexpr qint64 kLargestFileRead = qint64(1) << 30;
// Room in one JPEG segment once the length field is counted.
constexpr qsizetype kSegmentRoom = 65533;
const QByteArray kExifTag("Exif\0\0", 6);
const QByteArray kXmpTag("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArray kPhotoshopTag("Photoshop 3.0\0", 14);

const Exiv2::byte* exivBytes(QByteArrayView bytes) {
    return reinterpret_cast<const Exiv2::byte*>(bytes.data());
}

QByteArray fromBuffer(const Exiv2::DataBuf& buffer) {
    return QByteArray(reinterpret_cast<const char*>(buffer.pData_), buffer.size_);
}

// The parts of a JPEG header libjpeg reads itself: JFIF density, comments,
// the colour profile. No C++ object with a destructor lives in this frame.
struct LibjpegHeader {
    bool read = false;
    bool rgb = false; // decoded as colour pixels a profile for RGB may describe
    JfifDensity density;
    JOCTET* icc = nullptr; // malloc'd by libjpeg
    unsigned iccSize = 0;
};

bool readLibjpegHeader(QByteArrayView file, jpeg_decompress_struct* info, JpegErrorJump* errors,
                       LibjpegHeader* header) {
    info->err = setUpJpegErrors(errors);
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(file.data()),
                 static_cast<unsigned long>(file.size()));
    jpeg_save_markers(info, JPEG_COM, 0xFFFF);
    jpeg_save_markers(info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(info, TRUE);
    header->read = true;
    header->rgb = info->jpeg_color_space == JCS_YCbCr || info->jpeg_color_space == JCS_RGB;
    if (info->saw_JFIF_marker)
        header->density = {true, info->density_unit, info->X_density, info->Y_density};
    if (!jpeg_read_icc_profile(info, &header->icc, &header->iccSize))
        header->icc = nullptr;
    return true;
}

void readJpegSegments(QByteArrayView file, PictureMetadata* metadata) {
    jpeg_decompress_struct info{};
    JpegErrorJump errors;
    LibjpegHeader header;
    readLibjpegHeader(file, &info, &errors, &header);
    if (header.read) {
        metadata->density = header.density;
        for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
            if (m->marker == JPEG_COM)
                metadata->comments.append(
                    QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length)));
        if (header.icc && header.rgb)
            metadata->icc =
                QByteArray(reinterpret_cast<const char*>(header.icc), qsizetype(header.iccSize));
    }
    std::free(header.icc);
    jpeg_destroy_decompress(&info);
}

// A profile for RGB pictures (the output is one); others would mislead viewers.
bool isRgbProfile(const QByteArray& profile) {
    return profile.size() >= 128 && profile.mid(16, 4) == QByteArrayView("RGB ");
}

// A German line for each kind of part the library complained about.
QStringList problemsOf(const QStringList& complaints, bool threw) {
    QStringList problems;
    const auto add = [&](const QString& part) {
        const QString line =
            QStringLiteral("%1 der Quelle sind beschädigt und fehlen in der Ausgabe.").arg(part);
        if (!problems.contains(line))
            problems.append(line);
    };
    for (const QString& complaint : complaints) {
        if (complaint.contains(QLatin1String("XMP"), Qt::CaseInsensitive))
            add(QStringLiteral("Die XMP-Daten"));
        else if (complaint.contains(QLatin1String("IPTC"), Qt::CaseInsensitive) ||
                 complaint.contains(QLatin1String("Photoshop"), Qt::CaseInsensitive))
            add(QStringLiteral("Die IPTC-Daten"));
        else if (!threw)
            add(QStringLiteral("Teile der EXIF-Daten"));
    }
    if (threw)
        add(QStringLiteral("Die Metadaten"));
    return problems;
}

void readWithExiv2(QByteArrayView file, bool png, PictureMetadata* metadata) {
    QStringList complaints;
    PictureMetadata found;
    const bool ok = callExiv2(
        [&] {
            Exiv2::Image::AutoPtr image =
                Exiv2::ImageFactory::open(exivBytes(file), long(file.size()));
            if (!image.get())
                return;
            image->readMetadata();
            Exiv2::ExifData& exif = image->exifData();
            if (!exif.empty()) {
                const auto turn = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
                if (turn != exif.end() && turn->count() > 0) {
                    const long value = turn->toLong();
                    found.orientation = value >= 1 && value <= 8 ? int(value) : 1;
                }
                Exiv2::Blob blob;
                Exiv2::ExifParser::encode(blob, nullptr, 0, image->byteOrder(), exif);
                found.exif =
                    QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
            }
            if (!image->xmpData().empty())
                found.xmp = QByteArray::fromStdString(image->xmpPacket());
            else if (!image->xmpPacket().empty())
                complaints.append(QStringLiteral("XMP packet cannot be read"));
            if (!image->iptcData().empty())
                found.iptc = fromBuffer(Exiv2::IptcParser::encode(image->iptcData()));
            if (png && image->iccProfileDefined())
                found.icc = fromBuffer(*image->iccProfile());
        },
        &complaints);
    if (ok) {
        metadata->exif = found.exif;
        metadata->xmp = found.xmp;
        metadata->iptc = found.iptc;
        metadata->orientation = found.orientation;
        if (png)
            metadata->icc = found.icc;
    }
    metadata->problems += problemsOf(complaints, !ok);
}

} // namespace

PictureMetadata readPictureMetadata(QByteArrayView file) {
    PictureMetadata metadata;
    const bool jpeg = file.startsWith(QByteArrayView("\xFF\xD8\xFF", 3));
    const bool png = file.startsWith(QByteArrayView("\x89PNG\r\n\x1A\n", 8));
    if (!jpeg && !png)
        return metadata;
    if (jpeg)
        readJpegSegments(file, &metadata);
    readWithExiv2(file, png, &metadata);
    if (!isRgbProfile(metadata.icc))
        metadata.icc.clear();
    return metadata;
}

PictureMetadata readPictureMetadataOf(const QString& path) {
    QFile file;
    if (!openForReading(file, path) || file.size() > kLargestFileRead)
        return {};
    const QByteArray start = file.peek(8);
    if (!start.startsWith("\xFF\xD8\xFF") && !start.startsWith("\x89PNG"))
        return {};
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? readPictureMetadata(bytes) : PictureMetadata{};
}

namespace {

void setIfPresent(Exiv2::ExifData& exif, const char* key, uint32_t value) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found != exif.end())
        exif[key] = value;
}

void setIfPresent(Exiv2::XmpData& xmp, const char* key, const std::string& value) {
    if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
        xmp[key] = value;
}

QByteArray exifSegment(const PictureMetadata& source, QSize size, const QString& copyright) {
    Exiv2::ExifData exif;
    Exiv2::ByteOrder order = Exiv2::littleEndian;
    if (!source.exif.isEmpty())
        order =
            Exiv2::ExifParser::decode(exif, exivBytes(source.exif), uint32_t(source.exif.size()));
    if (!exif.empty()) {
        // the thumbnail shows the photo unstamped
        Exiv2::ExifThumb(exif).erase();
        if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
            exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Photo.PixelXDimension"] = uint32_t(size.width());
        exif["Exif.Photo.PixelYDimension"] = uint32_t(size.height());
        setIfPresent(exif, "Exif.Image.ImageWidth", uint32_t(size.width()));
        setIfPresent(exif, "Exif.Image.ImageLength", uint32_t(size.height()));
    }
    if (!copyright.isEmpty())
        putCopyrightIntoExif(exif, copyright);
    if (exif.empty())
        return {};
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, nullptr, 0, order, exif);
    return kExifTag +
           QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

QByteArray xmpSegment(const PictureMetadata& source, QSize size, const QString& copyright) {
    Exiv2::XmpData xmp;
    if (!source.xmp.isEmpty() && Exiv2::XmpParser::decode(xmp, source.xmp.toStdString()) != 0)
        throw Exiv2::Error(Exiv2::kerErrorMessage, "XMP packet cannot be read");
    for (auto it = xmp.begin(); it != xmp.end();) {
        if (it->key().rfind("Xmp.xmp.Thumbnails", 0) == 0)
            it = xmp.erase(it);
        else
            ++it;
    }
    setIfPresent(xmp, "Xmp.tiff.Orientation", "1");
    setIfPresent(xmp, "Xmp.tiff.ImageWidth", std::to_string(size.width()));
    setIfPresent(xmp, "Xmp.tiff.ImageLength", std::to_string(size.height()));
    setIfPresent(xmp, "Xmp.exif.PixelXDimension", std::to_string(size.width()));
    setIfPresent(xmp, "Xmp.exif.PixelYDimension", std::to_string(size.height()));
    if (!copyright.isEmpty())
        putCopyrightIntoXmp(xmp, copyright);
    if (xmp.empty())
        return {};
    std::string packet;
    if (Exiv2::XmpParser::encode(packet, xmp,
                                 Exiv2::XmpParser::useCompactFormat |
                                     Exiv2::XmpParser::omitPacketWrapper) != 0)
        throw Exiv2::Error(Exiv2::kerErrorMessage, "XMP packet cannot be written");
    return kXmpTag + QByteArray::fromStdString(packet);
}

QByteArray iptcSegment(const PictureMetadata& source, const QString& copyright) {
    Exiv2::IptcData iptc;
    if (!source.iptc.isEmpty() &&
        Exiv2::IptcParser::decode(iptc, exivBytes(source.iptc), uint32_t(source.iptc.size())) != 0)
        throw Exiv2::Error(Exiv2::kerErrorMessage, "IPTC data cannot be read");
    if (!copyright.isEmpty())
        putCopyrightIntoIptc(iptc, copyright);
    if (iptc.empty())
        return {};
    return kPhotoshopTag + fromBuffer(Exiv2::Photoshop::setIptcIrb(nullptr, 0, iptc));
}

// Runs one part's maker; a part that fails or does not fit one segment is left out.
void addSegment(QByteArray* segment, const std::function<QByteArray()>& make, const QString& part,
                QStringList* problems) {
    QByteArray made;
    QStringList complaints;
    if (!callExiv2([&] { made = make(); }, &complaints)) {
        problems->append(
            QStringLiteral("%1 lassen sich nicht schreiben und fehlen in der Ausgabe.").arg(part));
        return;
    }
    if (made.size() > kSegmentRoom) {
        problems->append(
            QStringLiteral("%1 sind zu groß für das JPEG-Bild und fehlen in der Ausgabe.")
                .arg(part));
        return;
    }
    *segment = made;
}

} // namespace

JpegMetadataSegments segmentsForOutput(const PictureMetadata& source, QSize outputSize,
                                       const MetadataRequest& request) {
    JpegMetadataSegments segments;
    const PictureMetadata kept = request.keepSource ? source : PictureMetadata{};
    segments.problems = kept.problems;
    addSegment(
        &segments.exifApp1, [&] { return exifSegment(kept, outputSize, request.copyright); },
        QStringLiteral("Die EXIF-Daten"), &segments.problems);
    addSegment(
        &segments.xmpApp1, [&] { return xmpSegment(kept, outputSize, request.copyright); },
        QStringLiteral("Die XMP-Daten"), &segments.problems);
    addSegment(
        &segments.iptcApp13, [&] { return iptcSegment(kept, request.copyright); },
        QStringLiteral("Die IPTC-Daten"), &segments.problems);
    segments.icc = kept.icc;
    segments.density = kept.density;
    for (const QByteArray& comment : kept.comments)
        if (comment.size() <= kSegmentRoom)
            segments.comments.append(comment);
    return segments;
}
