#include "platform/SteadyClock.h"

#include <chrono>
#include <thread>

namespace kv {
namespace {

template <typename Unit>
uint64_t SinceClockStart() {
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return uint64_t(std::chrono::duration_cast<Unit>(elapsed).count());
}

}  // namespace

// Truncating to 32 bits is the wrap: only differences of this counter are used.
uint32_t SteadyClock::Milliseconds() {
    return static_cast<uint32_t>(SinceClockStart<std::chrono::milliseconds>());
}

uint64_t SteadyClock::Microseconds() { return SinceClockStart<std::chrono::microseconds>(); }

void SteadyClock::Sleep(std::chrono::microseconds length) { std::this_thread::sleep_for(length); }

}  // namespace kv
