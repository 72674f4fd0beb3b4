#pragma once
// JPEG fixtures for the tests: pictures encoded as a camera writes them, their
// header segments built and walked, EXIF orientations and damaged streams.

#include <QByteArray>
#include <QImage>
#include <QList>

// How encodedJpeg writes a picture with libjpeg.
struct JpegEncoding {
    int h = 2, v = 2; // luma sampling (chroma 1 × 1); 0: grey
    bool progressive = false;
    bool arithmetic = false;
    int quality = 85;
    bool cmyk = false;      // the picture's bytes taken as CMYK, written as YCCK
    bool optimised = false; // Huffman tables made for this picture: not every symbol has a code
};
// The picture as a camera would write it, with libjpeg (a failure is a test failure).
QByteArray encodedJpeg(const QImage& picture, const JpegEncoding& how);

// One marker segment of a JPEG's header.
struct JpegHeaderSegment {
    quint8 marker = 0; // the byte behind 0xFF: 0xE1 for APP1, 0xDA for the start of scan
    qsizetype at = 0;  // where its 0xFF stands in the stream
    QByteArray body;   // the bytes behind its length
};
// The segments behind SOI up to the start of scan, that one included.
QList<JpegHeaderSegment> jpegHeaderSegments(const QByteArray& jpeg);

// One JPEG segment: its marker (hex, "ffe1"), the 16-bit big-endian length, the body.
QByteArray jpegSegment(const char* markerHex, const QByteArray& body);
// The JPEG with `segments` put right after its SOI.
QByteArray withSegments(const QByteArray& jpeg, const QByteArray& segments);
// An APP1 EXIF segment whose only tag is the orientation (6: turn a quarter to
// the right to view), in Motorola or Intel byte order.
QByteArray exifWithOrientation(int orientation, bool bigEndian = true);
// The JPEG with a run of codes that no Huffman table has (all ones) written
// into the middle of its scan data.
QByteArray corruptJpeg(const QByteArray& jpeg);
