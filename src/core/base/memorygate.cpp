#include "core/base/memorygate.h"

MemoryGate::Lease& MemoryGate::Lease::operator=(Lease&& other) noexcept {
    if (this != &other) {
        reset();
        gate_ = other.gate_;
        bytes_ = other.bytes_;
        other.gate_ = nullptr;
    }
    return *this;
}

void MemoryGate::Lease::reset() {
    if (gate_)
        gate_->giveBack(bytes_);
    gate_ = nullptr;
}

MemoryGate::Lease MemoryGate::take(qint64 bytes) {
    if (bytes <= 0)
        return {};
    std::unique_lock lock(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    changed_.wait(lock,
                  [&] { return ticket == serving_ && (held_ == 0 || held_ + bytes <= budget_); });
    held_ += bytes;
    ++serving_;
    lock.unlock();
    // the next in line may fit beside this one
    changed_.notify_all();
    return Lease(this, bytes);
}

qint64 MemoryGate::held() const {
    const std::lock_guard lock(mutex_);
    return held_;
}

int MemoryGate::waiting() const {
    const std::lock_guard lock(mutex_);
    return int(nextTicket_ - serving_);
}

void MemoryGate::giveBack(qint64 bytes) {
    {
        const std::lock_guard lock(mutex_);
        held_ -= bytes;
    }
    changed_.notify_all();
}
