#pragma once

#include "platform/Clock.h"

namespace kv {

// The machine's monotonic clock; the 32-bit millisecond counter wraps like a system uptime.
class SteadyClock : public Clock {
public:
    uint32_t Milliseconds() override;
    uint64_t Microseconds() override;
    void Sleep(std::chrono::microseconds length) override;
};

}  // namespace kv
