#pragma once

#include <cstdint>

namespace kv {

// A free-running clock; only differences are used. Tests use a fake that the event
// pump advances, so time-outs run in simulated time.
class Clock {
public:
    virtual ~Clock() = default;
    // 32-bit millisecond counter; wraps, so compare differences only.
    virtual uint32_t Milliseconds() = 0;
    virtual uint64_t Microseconds() = 0;
};

}  // namespace kv
