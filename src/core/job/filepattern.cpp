#include "core/job/filepattern.h"

#include "core/job/folderentries.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <vector>

namespace {
// Wildcard match with "*" and "?"; every other character stands for itself.
// Linear backtracking to the last "*" keeps it O(n*m) at worst.
bool wildcardMatch(QStringView pattern, QStringView name) {
    qsizetype p = 0, n = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            resume = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
} // namespace

FilePattern::FilePattern(const QString& text) : text_(text) {
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const QString pattern = part.trimmed().toCaseFolded();
        if (pattern == QLatin1String("*") || pattern == QLatin1String("*.*")) {
            patterns_.clear();
            return;
        }
        if (!pattern.isEmpty())
            patterns_.append(pattern);
    }
}

bool FilePattern::matches(const QString& fileName) const {
    if (patterns_.isEmpty())
        return true;
    const QString name = fileName.toCaseFolded();
    return std::any_of(patterns_.cbegin(), patterns_.cend(),
                       [&](const QString& pattern) { return wildcardMatch(pattern, name); });
}

void sortFileNames(QStringList& names) {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // one sort key per name instead of a full collation per comparison: a
    // folder of 10 000 files is re-sorted at every keystroke in the filter field
    struct Keyed {
        QCollatorSortKey key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (const QString& name : names)
        keyed.push_back({collator.sortKey(name), name});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.name < b.name; // equal but for case: a fixed order
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed[i].name;
}

QStringList listMatchingFiles(const QString& folder, const FilePattern& pattern) {
    const QStringList entries = listFolderEntries(folder, FolderEntryKind::Files);
    QStringList names;
    for (const QString& name : entries) {
        if (pattern.matches(name))
            names.append(name);
    }
    sortFileNames(names);
    return names;
}
