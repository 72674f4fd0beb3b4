#include "core/job/folderentries.h"

#include "core/base/filename.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

QStringList listFolderEntries(const QString& folder, FolderEntryKind kind) {
    QStringList names;
    DIR* dir =
        ::opendir(fileNameToBytes(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return names;
    const bool wantFolders = kind == FolderEntryKind::Folders;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        bool isFolder = entry->d_type == DT_DIR;
        bool known = entry->d_type == DT_DIR || entry->d_type == DT_REG;
        if (!known) { // a link, or a file system that does not say
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            if (!isFolder && !S_ISREG(info.st_mode))
                continue;
        }
        if (isFolder == wantFolders)
            names.append(fileNameFromBytes(entry->d_name));
    }
    ::closedir(dir);
    return names;
}
