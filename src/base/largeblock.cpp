#include "base/largeblock.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;
// Below this, ordinary heap memory serves better.
constexpr std::size_t LargeBlock = 2 * HugePage;

} // namespace

uchar* allocateLargeBlock(std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
    if (bytes < LargeBlock)
        return static_cast<uchar*>(std::calloc(bytes, 1));
    if (bytes > SIZE_MAX - HugePage)
        return nullptr;

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
        munmap(block, bytes);
}
