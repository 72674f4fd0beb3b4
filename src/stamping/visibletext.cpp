#include "stamping/visibletext.h"

namespace {

QString visible(QStringView text, bool keepLineBreaks) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            *to++ = keepLineBreaks && (u == u'\r' || u == u'\n') ? c : QChar(char16_t(0x2400 + u));
        else if (u == 0x7F)
            *to++ = QChar(char16_t(0x2421));
        else if (u >= 0x80 && u < 0xA0)
            *to++ = QChar(QChar::ReplacementCharacter);
        else
            *to++ = c;
    }
    return out;
}

} // namespace

QString VisibleText(QStringView text) {
    return visible(text, true);
}

QString VisibleLine(QStringView text) {
    return visible(text, false);
}
