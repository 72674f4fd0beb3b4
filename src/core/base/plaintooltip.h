#pragma once
// A tooltip that shows its text as it is. The toolkit takes a tooltip that
// looks like markup for rich text (a file named "<b>bild.jpg" would lose its
// "<b>" and turn bold), so such a text goes as escaped rich text, unwrapped.

#include <QString>

QString plainToolTip(const QString& text);
