#pragma once
// Embedded texts made fit to be shown: control characters, which would be
// invisible or disturb the display, become visible symbols.

#include <QString>
#include <QStringView>

// For a whole text in a multi-line field: CR and LF stay (they are its line
// breaks); the other control characters 0x00-0x1F become the control pictures
// U+2400-U+241F, DEL becomes U+2421, and the C1 controls (which have no
// picture) become U+FFFD.
QString VisibleText(QStringView text);

// For a list line, which cannot break: like VisibleText, and CR and LF become
// their pictures too (a first line can hold a lone CR or LF).
QString VisibleLine(QStringView text);
