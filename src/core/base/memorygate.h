#pragma once
// A budget of bytes shared by the threads of a run: each piece of work takes
// what it will need before it allocates and gives it back when it has freed
// it. Work that does not fit waits, in the order it asked, until enough is
// given back; work larger than the whole budget runs once nothing else holds
// any, so no request ever fails for want of the budget nor waits for ever.

#include <QtGlobal>

#include <condition_variable>
#include <cstdint>
#include <mutex>

class MemoryGate {
public:
    explicit MemoryGate(qint64 budget) : budget_(budget > 0 ? budget : 0) {}
    MemoryGate(const MemoryGate&) = delete;
    MemoryGate& operator=(const MemoryGate&) = delete;

    // Bytes held from the gate; given back when it is destroyed or reset.
    class Lease {
    public:
        Lease() = default;
        Lease(Lease&& other) noexcept : gate_(other.gate_), bytes_(other.bytes_) {
            other.gate_ = nullptr;
        }
        Lease& operator=(Lease&& other) noexcept;
        ~Lease() { reset(); }
        void reset();
        qint64 bytes() const { return gate_ ? bytes_ : 0; }

    private:
        friend class MemoryGate;
        Lease(MemoryGate* gate, qint64 bytes) : gate_(gate), bytes_(bytes) {}
        MemoryGate* gate_ = nullptr;
        qint64 bytes_ = 0;
    };

    // Waits until `bytes` fit beside what others hold (or nothing is held, for
    // a request beyond the budget) and takes them. 0 or less: at once, nothing held.
    Lease take(qint64 bytes);

    qint64 budget() const { return budget_; }
    qint64 held() const;
    // Requests waiting for their bytes.
    int waiting() const;

private:
    void giveBack(qint64 bytes);

    const qint64 budget_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    qint64 held_ = 0;
    std::uint64_t nextTicket_ = 0; // requests are served in the order they came
    std::uint64_t serving_ = 0;
};
