#include "core/stamping/visibletext.h"

namespace {

// The visible stand-in of `c`, or `c` itself.
QChar visibleCharacter(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x20)
        return QChar(char16_t(0x2400 + u));
    if (u == 0x7F)
        return QChar(char16_t(0x2421));
    if (u >= 0x80 && u < 0xA0)
        return QChar(QChar::ReplacementCharacter);
    return c;
}

} // namespace

QString visibleText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out.append(u'\n');
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i; // CR LF is one line break
        } else if (c == u'\n') {
            out.append(u'\n');
        } else {
            out.append(visibleCharacter(c));
        }
    }
    return out;
}

QString visibleLine(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const QChar c : text)
        *to++ = visibleCharacter(c);
    return out;
}
