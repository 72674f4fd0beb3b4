#pragma once
// The names in a folder as the file system stores them: bytes that need not be
// UTF-8, decoded so that they name the file again (see imaging/filename.h).

#include <QString>
#include <QStringList>

enum class FolderEntryKind { Files, Folders };

// The names of the files (or of the folders) in `folder`, links followed, in
// no particular order; names starting with "." are left out, and so are links
// that lead nowhere. Empty when the folder cannot be read.
QStringList listFolderEntries(const QString& folder, FolderEntryKind kind);
