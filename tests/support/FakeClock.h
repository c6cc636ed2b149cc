#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace kv::test {

// Simulated time: advances only when a test or the simulated event pump says so.
class FakeClock : public Clock {
public:
    uint32_t Milliseconds() override { return static_cast<uint32_t>(nowUs_ / 1000); }
    uint64_t Microseconds() override { return nowUs_; }
    void Advance(std::chrono::microseconds by) { nowUs_ += uint64_t(by.count()); }
    // Starts near the 32-bit wrap so that every test also covers the counter wrapping.
    explicit FakeClock(uint64_t startUs = (uint64_t(UINT32_MAX) - 5000) * 1000) : nowUs_(startUs) {}

private:
    uint64_t nowUs_;
};

}  // namespace kv::test
