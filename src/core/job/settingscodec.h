#pragma once
// How option values are written into and read from the settings store's
// strings. A reader returns nothing for a text it cannot use, so the caller
// keeps its start value.

#include <QString>
#include <optional>

// "True" or "False".
QString encodeBoolean(bool value);
// "True"/"False" in any letter case, or a decimal number (0 is false, any other
// number true); blanks around the text are ignored.
std::optional<bool> decodeBoolean(const QString& text);

// A check box state: "1" for ticked, "0" for unticked.
QString encodeCheckState(bool ticked);
// "0" or "1" (blanks around ignored); anything else is unusable.
std::optional<bool> decodeCheckState(const QString& text);
