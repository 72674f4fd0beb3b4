#pragma once
// What a source picture carries besides its pixels (EXIF, XMP, IPTC, colour
// profile, JFIF density, comments), and what of it goes into the header of a
// re-encoded output JPEG: turned upright, sized as the output, without the
// thumbnail of the unstamped photo, on request with the copyright in the
// places photo tools read it.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Pixel density of a JFIF header: unit 0 (aspect ratio only), 1 (per inch), 2 (per cm).
struct JfifDensity {
    bool present = false;
    quint8 unit = 0;
    quint16 x = 1;
    quint16 y = 1;
};

struct PictureMetadata {
    QByteArray exif; // TIFF structure as it follows "Exif\0\0"; empty when none
    QByteArray xmp;  // XMP packet, UTF-8
    QByteArray iptc; // IPTC datasets
    QByteArray icc;  // colour profile of an RGB picture
    QList<QByteArray> comments;
    JfifDensity density;
    int orientation = 1; // EXIF orientation, 1 when there is none
    // German, one per part that was broken and is left out.
    QStringList problems;
};

// Reads the metadata of a JPEG or PNG file held in memory; other files give
// none. A broken part is left out and named in `problems`; the rest is kept.
PictureMetadata readPictureMetadata(QByteArrayView file);

// Reads the file at `path` whole (up to the size any picture may have) and then
// its metadata; a file that cannot be read gives none.
PictureMetadata readPictureMetadataOf(const QString& path);

// What a run does with metadata.
struct MetadataRequest {
    bool keepSource = true; // false: the source's metadata is left out
    QString copyright;      // written into EXIF, XMP and IPTC when not empty
};

// The header segments of an output JPEG, ready for the encoder
// (see writeJpegMetadata in jpegmetadatawriter.h).
struct JpegMetadataSegments {
    QByteArray exifApp1;  // whole APP1 body, "Exif\0\0" included; empty when none
    QByteArray xmpApp1;   // whole APP1 body, the XMP namespace tag included
    QByteArray icc;       // the profile, split into APP2 segments by the encoder
    QByteArray iptcApp13; // whole APP13 body, "Photoshop 3.0\0" included
    QList<QByteArray> comments;
    JfifDensity density;
    QStringList problems; // German: parts left out of the output, with the source's
};

// The segments for an output picture of `outputSize` made from a source with
// `source` metadata whose orientation has been applied: orientation 1, width
// and height tags as the output, no thumbnail. Parts that do not fit a JPEG
// segment are left out and named in `problems`.
JpegMetadataSegments segmentsForOutput(const PictureMetadata& source, QSize outputSize,
                                       const MetadataRequest& request);
