#include "core/stamping/runwrittenfiles.h"

void RunWrittenFiles::add(dev_t device, ino_t inode) {
    const std::lock_guard lock(mutex_);
    files_.emplace(device, inode);
}

bool RunWrittenFiles::contains(dev_t device, ino_t inode) const {
    const std::lock_guard lock(mutex_);
    return files_.count({device, inode}) != 0;
}
