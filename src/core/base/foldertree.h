#pragma once
// Every regular file below a folder, by the names' own bytes, for commands that
// go through a whole tree.

#include <QList>
#include <QString>

struct TreeEntry {
    QString path;        // the folder's name as given, then the names below it
    int errorNumber = 0; // set for a folder below that could not be read
};

// Regular files at any depth below `folder` and the folders below it that could
// not be read, sorted by the bytes of their paths. Symbolic links are not
// followed, to files or to folders; a folder reached twice (a bind mount) is
// gone through once.
QList<TreeEntry> listFolderTree(const QString& folder);
