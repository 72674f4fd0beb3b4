#pragma once
// The files one run has written beside its sources ("-cop.jpg" pictures), by
// device and inode: such a name may be written again by a later entry of the
// same run, while a file there that the run did not write is never replaced.
// Shared by the threads of the run.

#include <mutex>
#include <set>
#include <sys/types.h>
#include <utility>

class RunWrittenFiles {
public:
    void add(dev_t device, ino_t inode);
    bool contains(dev_t device, ino_t inode) const;

private:
    mutable std::mutex mutex_;
    std::set<std::pair<dev_t, ino_t>> files_;
};
