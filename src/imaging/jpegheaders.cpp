#include "imaging/jpegheaders.h"

#include "imaging/jpegmarkers.h"

namespace {

using namespace JpegMarker;
constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kShortType = 3;
// segments this short carry no profile worth reading
constexpr qsizetype kSmallestIccChunk = 128 + 4 + 14;

class Bytes {
public:
    explicit Bytes(QByteArrayView view, bool bigEndian = true) : view_(view), big_(bigEndian) {}
    qsizetype size() const { return view_.size(); }
    quint8 u8(qsizetype at) const { return quint8(view_[at]); }
    quint16 u16(qsizetype at) const {
        return big_ ? quint16(u8(at) << 8 | u8(at + 1)) : quint16(u8(at + 1) << 8 | u8(at));
    }
    quint32 u32(qsizetype at) const {
        return big_ ? quint32(u16(at)) << 16 | u16(at + 2) : quint32(u16(at + 2)) << 16 | u16(at);
    }

private:
    QByteArrayView view_;
    bool big_;
};

// The orientation in an EXIF segment's body (after "Exif\0\0"); 0 when malformed.
int exifOrientation(QByteArrayView tiff) {
    if (tiff.size() < 8)
        return 0;
    const bool big = tiff.startsWith("MM");
    if (!big && !tiff.startsWith("II"))
        return 0;
    const Bytes bytes(tiff, big);
    if (bytes.u16(2) != 42)
        return 0;
    const quint32 ifd = bytes.u32(4);
    if (ifd > quint32(tiff.size()) || tiff.size() - qsizetype(ifd) < 2)
        return 0;
    const int entries = bytes.u16(ifd);
    if ((tiff.size() - qsizetype(ifd) - 2) / 12 < entries)
        return 0;
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = qsizetype(ifd) + 2 + 12 * i;
        if (bytes.u16(entry) != kOrientationTag)
            continue;
        if (bytes.u16(entry + 2) != kShortType || bytes.u32(entry + 4) != 1)
            return 0;
        const int value = bytes.u16(entry + 8);
        return value >= 1 && value <= 8 ? value : 0;
    }
    return 1;
}

} // namespace

JpegHeaderFacts ReadJpegHeaderFacts(QByteArrayView jpeg) {
    JpegHeaderFacts facts;
    const Bytes bytes(jpeg);
    if (jpeg.size() < 4 || bytes.u8(0) != kPrefix || bytes.u8(1) != kSoi)
        return facts;
    bool app1Seen = false;
    qsizetype at = 2;
    for (;;) {
        if (at + 4 > jpeg.size() || bytes.u8(at) != kPrefix)
            return facts;
        const quint8 marker = bytes.u8(at + 1);
        if (marker == kPrefix) { // fill byte
            ++at;
            continue;
        }
        if (marker == kSos)
            break;
        if (marker == kEoi || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            return facts;
        const quint16 length = bytes.u16(at + 2);
        if (length < 2 || at + 2 + length > jpeg.size())
            return facts;
        const QByteArrayView body = jpeg.sliced(at + 4, length - 2);
        const bool exif = body.startsWith(QByteArrayView("Exif\0\0", 6));
        if (marker == kApp1) {
            // only an EXIF segment in the first APP1 is read, so take nothing else
            if (exif && app1Seen)
                return facts;
            if (exif) {
                facts.orientation = exifOrientation(body.sliced(6));
                if (facts.orientation == 0)
                    return facts;
            }
            app1Seen = true;
        } else if (marker == kApp2 && body.startsWith(kIccProfileTag)) {
            // chunks in the order they come, as the general reader joins them
            if (body.size() > kSmallestIccChunk)
                facts.iccProfile.append(body.sliced(14));
        }
        at += 2 + length;
    }
    facts.understood = true;
    return facts;
}
