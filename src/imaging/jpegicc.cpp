#include "imaging/jpegicc.h"

#include "imaging/jpegmarkers.h"

namespace {

using namespace JpegMarker;
constexpr qsizetype kMaxChunks = 255;

quint8 byteAt(const QByteArray& bytes, qsizetype at) {
    return quint8(bytes.at(at));
}

quint16 bigEndian16At(const QByteArray& bytes, qsizetype at) {
    return quint16(byteAt(bytes, at) << 8 | byteAt(bytes, at + 1));
}

void appendBigEndian16(QByteArray* bytes, quint16 value) {
    bytes->append(char(value >> 8));
    bytes->append(char(value & 0xFF));
}

// Offset just past SOI and every APP0 segment that follows it, or -1 when the
// stream is not a JPEG or a segment runs past its end.
qsizetype offsetAfterApp0(const QByteArray& jpeg) {
    if (jpeg.size() < 2 || byteAt(jpeg, 0) != kPrefix || byteAt(jpeg, 1) != kSoi)
        return -1;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && byteAt(jpeg, at) == kPrefix && byteAt(jpeg, at + 1) == kApp0) {
        const quint16 length = bigEndian16At(jpeg, at + 2);
        if (length < 2 || at + 2 + length > jpeg.size())
            return -1;
        at += 2 + length;
    }
    return at;
}

} // namespace

bool InsertIccProfile(QByteArray* jpeg, const QByteArray& profile) {
    if (!jpeg)
        return false;
    const qsizetype at = offsetAfterApp0(*jpeg);
    const qsizetype chunks = (profile.size() + kIccChunkSize - 1) / kIccChunkSize;
    if (at < 0 || chunks > kMaxChunks)
        return false;
    if (chunks == 0)
        return true;

    QByteArray segments;
    segments.reserve(profile.size() + chunks * (4 + kIccProfileTag.size() + 2));
    for (qsizetype i = 0; i < chunks; ++i) {
        const QByteArray part = profile.mid(i * kIccChunkSize, kIccChunkSize);
        segments.append(char(kPrefix));
        segments.append(char(kApp2));
        appendBigEndian16(&segments, quint16(2 + kIccProfileTag.size() + 2 + part.size()));
        segments.append(kIccProfileTag);
        segments.append(char(i + 1)); // sequence number, counted from 1
        segments.append(char(chunks));
        segments.append(part);
    }
    jpeg->insert(at, segments);
    return true;
}
