#include "core/base/countednoun.h"

QString countedNoun(qint64 count, const QString& singular, const QString& plural) {
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}
