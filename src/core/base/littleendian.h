#pragma once
// The one way multi-byte numbers go into and come out of file bytes here:
// little-endian, byte by byte.

#include <QByteArray>
#include <QtEndian>

inline quint16 readLittleEndian16(const uchar* source) {
    return qFromLittleEndian<quint16>(source);
}

inline quint32 readLittleEndian32(const uchar* source) {
    return qFromLittleEndian<quint32>(source);
}

// A signed field (such as a bitmap's height, negative for rows stored top down).
inline qint32 readLittleEndianSigned32(const uchar* source) {
    return qFromLittleEndian<qint32>(source);
}

inline void storeLittleEndian16(uchar* target, quint16 value) {
    qToLittleEndian(value, target);
}

inline void storeLittleEndian32(uchar* target, quint32 value) {
    qToLittleEndian(value, target);
}

inline void appendLittleEndian16(QByteArray& bytes, quint16 value) {
    uchar raw[2];
    storeLittleEndian16(raw, value);
    bytes.append(reinterpret_cast<const char*>(raw), 2);
}

inline void appendLittleEndian32(QByteArray& bytes, quint32 value) {
    uchar raw[4];
    storeLittleEndian32(raw, value);
    bytes.append(reinterpret_cast<const char*>(raw), 4);
}
