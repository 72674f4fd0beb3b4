#pragma once
// The pictures of the pages: the corner glyph drawn from its pixel rule, the
// others compiled in from resources/.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// 10 x 10: black where x = 9, y = 9 or x + y is 8, 11 or 14; RGB(189, 199, 140) elsewhere.
QImage cornerGlyph();
// A picture by its name in the page descriptions: "corner", "banner", "warning",
// "struckc", "redc"; an empty pixmap for an empty or unknown name.
QPixmap pagePicture(const QString& name);
// The window icon of every page, 32 x 32 and 16 x 16.
QIcon pageIcon();
