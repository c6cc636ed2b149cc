#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>

#include "platform/Clock.h"

namespace kv::test {

// Simulated time: advances only when a test, a sleep or a wait says so. Atomic, since a
// window test reads it while the session thread advances it.
class FakeClock : public Clock {
public:
    uint32_t Milliseconds() override { return static_cast<uint32_t>(nowUs_ / 1000); }
    uint64_t Microseconds() override { return nowUs_; }
    void Sleep(std::chrono::microseconds length) override { Advance(length); }
    void Advance(std::chrono::microseconds by) {
        nowUs_ += uint64_t(std::max(by, std::chrono::microseconds(1)).count());
    }
    // Starts near the 32-bit wrap so that every test also covers the counter wrapping.
    explicit FakeClock(uint64_t startUs = (uint64_t(UINT32_MAX) - 5000) * 1000) : nowUs_(startUs) {}

private:
    std::atomic<uint64_t> nowUs_;
};

}  // namespace kv::test
