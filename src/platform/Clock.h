#pragma once

#include <chrono>
#include <cstdint>

namespace kv {

// A free-running clock; only differences are used. Tests use a fake that advances when
// the link sleeps or waits, so time-outs run in simulated time.
class Clock {
public:
    virtual ~Clock() = default;
    // 32-bit millisecond counter; wraps, so compare differences only.
    virtual uint32_t Milliseconds() = 0;
    virtual uint64_t Microseconds() = 0;
    // Blocks the calling thread (the session's, never the windows') for `length`.
    virtual void Sleep(std::chrono::microseconds length) = 0;
};

}  // namespace kv
