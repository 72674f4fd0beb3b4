#pragma once
// Texts made fit to be shown wherever the program shows them (the viewer, the
// command line, the run's messages): control characters, which would be
// invisible or disturb the display, become visible symbols, the same ones
// everywhere.

#include <QString>
#include <QStringView>

// For a whole text in a multi-line field: CR LF, a lone CR and a lone LF each
// become one line break "\n"; the other control characters 0x00-0x1F become the
// control pictures U+2400-U+241F, DEL becomes U+2421, and the C1 controls (which
// have no picture; the unassigned bytes such as 0x81 decode to them) become U+FFFD.
QString visibleText(QStringView text);

// For one line (a list line, a file name, a line of a message or of the
// terminal), which cannot break: like visibleText, and CR and LF become their
// pictures too.
QString visibleLine(QStringView text);
