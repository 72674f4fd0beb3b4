#pragma once
// Windows-1252, the single-byte code page of embedded texts: one byte per
// character both ways.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Bytes to text. The five unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D
// become the C1 control characters of the same value, so every byte survives.
QString decodeWindows1252(QByteArrayView bytes);

// Text to bytes. Characters outside the code page become "?"; the five C1
// controls above go back to their bytes.
QByteArray encodeWindows1252(QStringView text);
