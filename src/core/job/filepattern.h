#pragma once
// The file list's pattern: wildcard patterns separated by ";", "*" for any run
// of characters and "?" for one character, compared without letter case. A
// name is listed when any pattern matches it. Blanks around each pattern are
// ignored, empty patterns are dropped, and a text with no pattern at all lists
// every file; "*" and "*.*" list every file too.

#include <QString>
#include <QStringList>

class FilePattern {
public:
    explicit FilePattern(const QString& text = {});

    QString text() const { return text_; }
    bool matches(const QString& fileName) const;

private:
    QString text_;
    QStringList patterns_; // case-folded; empty means every file
};

// The names of the files of a folder that match, sorted like a file manager
// sorts (German collation, letter case ignored, digit runs by their value).
// Folders and hidden files (names starting with ".") are left out; an
// unreadable or missing folder lists nothing.
QStringList listMatchingFiles(const QString& folder, const FilePattern& pattern);

// Sorts file names the way listMatchingFiles does.
void sortFileNames(QStringList& names);
