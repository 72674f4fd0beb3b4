#include "cli/jsonstring.h"

#include "core/base/filename.h"

QString jsonEscaped(QStringView text) {
    QString out;
    out.reserve(text.size() + 8);
    // a file name's bytes that are no UTF-8 have no place in JSON: shown as U+FFFD
    for (const QChar c : displayFileName(text)) {
        switch (c.unicode()) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\b':
            out += QLatin1String("\\b");
            break;
        case u'\f':
            out += QLatin1String("\\f");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString jsonString(QStringView text) {
    return QLatin1Char('"') + jsonEscaped(text) + QLatin1Char('"');
}
