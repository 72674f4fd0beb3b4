#pragma once
// What the step-1 folder tree shows, the way a classic folder list does: the
// chain of folders from the drive's root down to the current folder, then the
// current folder's subfolders.

#include <QString>
#include <QStringList>

// The folders from root down to folder, both included: ("/", "/home",
// "/home/ich") for root "/" and folder "/home/ich". When folder does not lie
// under root the chain starts at the file-system root.
QStringList folderChain(const QString& root, const QString& folder);

// The full paths of the subfolders of folder, sorted like the file list;
// hidden folders (names starting with ".") are left out, an unreadable folder
// has none.
QStringList listSubfolders(const QString& folder);
