// The budget of bytes shared by a run's threads: what waits, what goes first,
// and that nothing waits for ever.
#include "core/base/memorygate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Long enough for a thread that is not held to have taken its bytes; a thread
// held by the gate is never let through by waiting longer.
void letOthersRun() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

// Until `count` requests wait in the gate.
void untilWaiting(const MemoryGate& gate, int count) {
    while (gate.waiting() < count)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

TEST(MemoryGate, ARequestWaitsUntilEnoughIsGivenBackAndGivesItsOwnBack) {
    MemoryGate gate(100);
    MemoryGate::Lease first = gate.take(60);
    EXPECT_EQ(gate.held(), 60);
    MemoryGate::Lease beside = gate.take(40); // fits: at once
    EXPECT_EQ(gate.held(), 100);

    std::atomic<bool> taken{false};
    std::jthread waiter([&] {
        const MemoryGate::Lease lease = gate.take(50);
        taken = true;
        EXPECT_EQ(lease.bytes(), 50);
    });
    untilWaiting(gate, 1);
    EXPECT_FALSE(taken);
    beside.reset(); // 40 free: still too little
    letOthersRun();
    EXPECT_FALSE(taken);
    first = {}; // 100 free
    waiter.join();
    EXPECT_TRUE(taken);
    EXPECT_EQ(gate.held(), 0);
}

// A request beyond the whole budget (or any request when nothing is known to
// be free) runs alone once nothing else is held, and what comes after it waits
// behind it even where it would fit.
TEST(MemoryGate, ARequestBeyondTheBudgetRunsAloneAndIsNotOvertaken) {
    for (const qint64 budget : {qint64(100), qint64(0)}) {
        MemoryGate gate(budget);
        MemoryGate::Lease small = gate.take(10);
        std::atomic<bool> bigTaken{false}, laterTaken{false};
        std::jthread big([&] {
            MemoryGate::Lease lease = gate.take(1000);
            bigTaken = true;
            letOthersRun();
            EXPECT_FALSE(laterTaken) << budget;
        });
        untilWaiting(gate, 1);
        std::jthread later([&] {
            const MemoryGate::Lease lease = gate.take(10);
            laterTaken = true;
        });
        untilWaiting(gate, 2);
        EXPECT_FALSE(bigTaken) << budget;
        EXPECT_FALSE(laterTaken) << budget;
        small.reset();
        big.join();
        later.join();
        EXPECT_TRUE(bigTaken && laterTaken) << budget;
        EXPECT_EQ(gate.held(), 0) << budget;
    }
}

// Many threads taking and giving back at random never hold more than the
// budget beside one another, and all of them finish.
TEST(MemoryGate, ManyThreadsNeverHoldMoreThanTheBudgetTogether) {
    MemoryGate gate(1000);
    std::atomic<qint64> inHand{0}, most{0};
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&, t] {
                for (int i = 0; i < 200; ++i) {
                    const qint64 bytes = 1 + (t * 131 + i * 37) % 700;
                    const MemoryGate::Lease lease = gate.take(bytes);
                    const qint64 now = inHand += bytes;
                    qint64 seen = most;
                    while (now > seen && !most.compare_exchange_weak(seen, now)) {
                    }
                    inHand -= bytes;
                }
            });
    }
    EXPECT_LE(most.load(), 1000);
    EXPECT_EQ(gate.held(), 0);
}
