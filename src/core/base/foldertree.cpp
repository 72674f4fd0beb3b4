#include "core/base/foldertree.h"

#include "core/base/filename.h"

#include <QByteArray>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Found {
    QByteArray path;
    int errorNumber = 0;
};

} // namespace

QList<TreeEntry> listFolderTree(const QString& folder) {
    QByteArray top = fileNameToBytes(folder);
    while (top.size() > 1 && top.endsWith('/'))
        top.chop(1);
    std::vector<Found> found;
    QSet<std::pair<dev_t, ino_t>> seen;
    std::vector<QByteArray> pending{top};
    while (!pending.empty()) {
        const QByteArray path = std::move(pending.back());
        pending.pop_back();
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!dir) {
            found.push_back({path, errno});
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0) {
            const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
            if (seen.contains(identity)) {
                ::closedir(dir);
                continue;
            }
            seen.insert(identity);
        }
        const QByteArray prefix = path == "/" ? path : path + '/';
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            struct stat child {};
            if (::fstatat(fd, entry->d_name, &child, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone meanwhile
            if (S_ISDIR(child.st_mode))
                pending.push_back(prefix + name);
            else if (S_ISREG(child.st_mode))
                found.push_back({prefix + name});
        }
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.path < b.path; });
    QList<TreeEntry> entries;
    entries.reserve(qsizetype(found.size()));
    for (const Found& f : found)
        entries.append({fileNameFromBytes(f.path), f.errorNumber});
    return entries;
}
