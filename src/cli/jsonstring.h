#pragma once
// JSON string literals written by hand, so that objects keep their keys in the
// order they are written.

#include <QString>
#include <QStringView>

// The text as the inside of a JSON string (without the quotes), every
// character kept: quotes, backslashes and control characters are escaped, and
// the bytes of a file name that are no UTF-8 become U+FFFD.
QString jsonEscaped(QStringView text);
// The text as a whole JSON string literal, with quotes.
QString jsonString(QStringView text);
