// Picture memory handed out again after it was given back is as zeroed as
// fresh memory, whatever the picture before left in it.
#include "core/base/largeblock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

TEST(LargeBlock, ABlockHandedOutAgainIsZeroedWhateverItHeld) {
    for (const std::size_t bytes : {std::size_t(1000), std::size_t(8) << 20}) {
        SCOPED_TRACE(bytes);
        for (int round = 0; round < 3; ++round) {
            uchar* block = allocateLargeBlock(bytes);
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(std::all_of(block, block + bytes, [](uchar b) { return b == 0; }));
            std::memset(block, 0xA5, bytes);
            releaseLargeBlock(block, bytes);
        }
    }
    // more given back than is kept: every block is still usable and zeroed
    constexpr std::size_t kBytes = std::size_t(24) << 20;
    uchar* blocks[5];
    for (uchar*& block : blocks) {
        block = allocateLargeBlock(kBytes);
        ASSERT_NE(block, nullptr);
        std::memset(block, 0x5A, kBytes);
    }
    for (uchar* block : blocks)
        releaseLargeBlock(block, kBytes);
    uchar* again = allocateLargeBlock(kBytes);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(std::all_of(again, again + kBytes, [](uchar b) { return b == 0; }));
    releaseLargeBlock(again, kBytes);
}
