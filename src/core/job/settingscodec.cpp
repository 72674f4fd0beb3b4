#include "core/job/settingscodec.h"

#include <QRegularExpression>

QString encodeBoolean(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> decodeBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    static const QRegularExpression number(
        QStringLiteral(R"(^[+-]?(?:[0-9]+(?:\.[0-9]*)?|\.[0-9]+)$)"));
    if (!number.match(word).hasMatch())
        return std::nullopt;
    // Any digit other than 0 makes the number non-zero; no floating point needed.
    for (const QChar c : word) {
        if (c.isDigit() && c != QLatin1Char('0'))
            return true;
    }
    return false;
}

QString encodeCheckState(bool ticked) {
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<bool> decodeCheckState(const QString& text) {
    const QString state = text.trimmed();
    if (state == QLatin1String("1"))
        return true;
    if (state == QLatin1String("0"))
        return false;
    return std::nullopt;
}
