#include "core/stamping/markersearch.h"

#include "core/stamping/copyrightblock.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

std::size_t findPlain(const char* data, std::size_t size, std::size_t from) {
    if (from >= size)
        return size;
    const void* hit = ::memmem(data + from, size - from, kBlockMarker, kBlockMarkerLength);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : size;
}

} // namespace

#if defined(__SSE2__)

// Sixteen candidate positions at a time: a position is a candidate when its
// first and its last marker byte match; only candidates are compared in full.
std::size_t findBlockMarker(const char* data, std::size_t size, std::size_t from) {
    constexpr std::size_t kLast = kBlockMarkerLength - 1;
    constexpr std::size_t kStep = 32;
    const __m128i first = _mm_set1_epi8(kBlockMarker[0]);
    const __m128i last = _mm_set1_epi8(kBlockMarker[kLast]);
    auto candidates = [&](const char* at) {
        const __m128i a = _mm_and_si128(
            _mm_cmpeq_epi8(first, _mm_loadu_si128(reinterpret_cast<const __m128i*>(at))),
            _mm_cmpeq_epi8(last, _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + kLast))));
        return static_cast<unsigned>(_mm_movemask_epi8(a));
    };
    std::size_t i = from;
    while (i + kStep + kLast <= size) {
        unsigned mask = candidates(data + i) | (candidates(data + i + 16) << 16);
        while (mask != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(data + at + 1, kBlockMarker + 1, kBlockMarkerLength - 2) == 0)
                return at;
            mask &= mask - 1;
        }
        i += kStep;
    }
    return findPlain(data, size, i);
}

#else

std::size_t findBlockMarker(const char* data, std::size_t size, std::size_t from) {
    return findPlain(data, size, from);
}

#endif
