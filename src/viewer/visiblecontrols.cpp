#include "viewer/visiblecontrols.h"

namespace {
QChar controlPicture(char16_t c) {
    return c == 0x7F ? QChar(0x2421) : QChar(char16_t(0x2400 + c));
}

bool isControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}
} // namespace

QString textWithVisibleControls(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r') {
            shown.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i; // CR LF is one line break
        } else if (c == u'\n') {
            shown.append(QLatin1Char('\n'));
        } else if (isControl(c)) {
            shown.append(controlPicture(c));
        } else {
            shown.append(text.at(i));
        }
    }
    return shown;
}

QString lineWithVisibleControls(const QString& line) {
    QString shown = line;
    for (QChar& ch : shown)
        if (isControl(ch.unicode()))
            ch = controlPicture(ch.unicode());
    return shown;
}
