#include "core/stamping/stampbatch.h"

#include "core/base/resourcelimits.h"
#include "core/stamping/picturememory.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>

namespace {

// Groups of request indices, each in list order, such that requests sharing a
// touched path are in one group. Groups are ordered by their first request.
std::vector<std::vector<std::size_t>>
groupByTouchedPaths(const std::vector<StampRequest>& requests) {
    std::vector<std::size_t> parent(requests.size());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    const auto root = [&](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    QHash<QString, std::size_t> firstUser;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        for (const QString& path : pathsTouchedBy(requests[i])) {
            const auto found = firstUser.constFind(path);
            if (found == firstUser.cend()) {
                firstUser.insert(path, i);
                continue;
            }
            const std::size_t a = root(i), b = root(*found);
            parent[std::max(a, b)] = std::min(a, b);
        }
    }
    std::vector<std::vector<std::size_t>> groups;
    std::vector<std::size_t> groupOfRoot(requests.size(), SIZE_MAX);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const std::size_t r = root(i);
        if (groupOfRoot[r] == SIZE_MAX) {
            groupOfRoot[r] = groups.size();
            groups.emplace_back();
        }
        groups[groupOfRoot[r]].push_back(i);
    }
    return groups;
}

} // namespace

std::vector<FileOutcome>
stampBatch(const std::vector<StampRequest>& requests, int threads,
           const std::function<void(std::size_t, const FileOutcome&)>& onFinished) {
    std::vector<FileOutcome> outcomes(requests.size());
    const auto groups = groupByTouchedPaths(requests);
    const std::size_t wanted =
        std::min<std::size_t>(groups.size(), static_cast<std::size_t>(std::max(threads, 1)));
    // Fewer files than threads: each file may use a second core for itself.
    const bool spareCore = static_cast<std::size_t>(std::max(threads, 1)) > wanted;
    // no more files in flight than open files allow, whatever the threads asked,
    // and no more threads than the address space has room for
    const auto workers = static_cast<std::size_t>(filesAtOnceWithinMemory(
        filesAtOnceWithinOpenFileLimit(int(wanted), kDescriptorsPerStampedFile)));
    const std::shared_ptr<MemoryGate> memory = pictureMemoryGate(int(workers));
    std::atomic<std::size_t> nextGroup{0};
    std::mutex reportMutex;
    const auto work = [&] {
        for (std::size_t g = nextGroup++; g < groups.size(); g = nextGroup++) {
            for (const std::size_t i : groups[g]) {
                StampRequest request = requests[i];
                request.spareCore = request.spareCore || spareCore;
                if (!request.memory)
                    request.memory = memory;
                outcomes[i] = stampFile(request);
                if (onFinished) {
                    const std::lock_guard lock(reportMutex);
                    onFinished(i, outcomes[i]);
                }
            }
        }
    };
    std::vector<std::jthread> pool;
    try {
        for (std::size_t t = 1; t < workers; ++t)
            pool.emplace_back(work);
    } catch (const std::system_error&) {
        // no more threads to be had: the ones there take every file
    }
    work();
    pool.clear(); // joins
    return outcomes;
}
