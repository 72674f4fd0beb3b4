#pragma once
// Control characters found in embedded texts are shown as their control
// pictures (U+2400 to U+241F, U+2421 for DEL) instead of being dropped.

#include <QString>

// For the multi-line text field: CR LF, a lone CR and a lone LF are line breaks.
QString textWithVisibleControls(const QString& text);
// For a list line, which has no room for a second line: CR and LF are shown too.
QString lineWithVisibleControls(const QString& line);
