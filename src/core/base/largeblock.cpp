#include "core/base/largeblock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <sys/mman.h>
#include <utility>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
// Below this, ordinary heap memory serves better.
constexpr std::size_t LargeBlock = 2 * HugePage;

// Blocks given back are kept for the next picture of the same size: a batch of
// pictures of one size then reuses memory whose pages are already there, rather
// than the system finding and clearing fresh pages for every picture. The most
// recently given back are kept, within these bounds.
constexpr std::size_t KeptBytes = std::size_t(64) << 20;
constexpr std::size_t KeptBlocks = 4;

class BlockKeeper {
public:
    // A kept block of exactly `bytes`, or nullptr.
    uchar* take(std::size_t bytes) {
        const std::lock_guard lock(mutex_);
        for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
            if (it->second == bytes) {
                uchar* block = it->first;
                total_ -= bytes;
                blocks_.erase(it);
                return block;
            }
        }
        return nullptr;
    }

    // Keeps `block`, letting the oldest go where the bounds are passed.
    void keep(uchar* block, std::size_t bytes) {
        if (bytes > KeptBytes) {
            munmap(block, bytes);
            return;
        }
        std::deque<std::pair<uchar*, std::size_t>> released;
        {
            const std::lock_guard lock(mutex_);
            blocks_.emplace_back(block, bytes);
            total_ += bytes;
            while (total_ > KeptBytes || blocks_.size() > KeptBlocks) {
                total_ -= blocks_.front().second;
                released.push_back(blocks_.front());
                blocks_.pop_front();
            }
        }
        for (const auto& [oldBlock, oldBytes] : released)
            munmap(oldBlock, oldBytes);
    }

private:
    std::mutex mutex_;
    std::deque<std::pair<uchar*, std::size_t>> blocks_;
    std::size_t total_ = 0;
};

// Never destroyed: workers may give blocks back while the program ends.
BlockKeeper& keptBlocks() {
    static auto* kept = new BlockKeeper;
    return *kept;
}

} // namespace

uchar* allocateLargeBlock(std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
    if (bytes < LargeBlock)
        return static_cast<uchar*>(std::calloc(bytes, 1));
    if (bytes > SIZE_MAX - HugePage)
        return nullptr;
    if (uchar* kept = keptBlocks().take(bytes)) {
        std::memset(kept, 0, bytes);
        return kept;
    }

    // Map one huge page more than asked and trim both ends, so the block starts
    // on a huge-page boundary.
    const std::size_t mapped = bytes + HugePage;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    const std::size_t tail = mapped - (aligned - start) - bytes;
    if (tail > 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    auto* block = reinterpret_cast<uchar*>(aligned);
    madvise(block, bytes, MADV_HUGEPAGE); // only advice: without huge pages all still works
    return block;
}

void releaseLargeBlock(uchar* block, std::size_t bytes) {
    if (!block)
        return;
    if (bytes < LargeBlock)
        std::free(block);
    else
        keptBlocks().keep(block, bytes);
}
