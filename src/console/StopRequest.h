#pragma once
// A request to stop an operation on the gateway between two console lines. It is set from
// another thread or a signal handler and asked by the console link before every line it
// sends, so every sequence (read-out, save, factory reset, EEPROM copy) stops at its next
// line, with the line under way finished and the console left at a prompt.

#include <atomic>

namespace kv {

class StopRequest {
public:
    // Safe in a signal handler: a lock-free store and nothing else.
    void Request() noexcept { requested_.store(true); }
    void Withdraw() noexcept { requested_.store(false); }
    bool Requested() const noexcept { return requested_.load(); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> requested_{false};
};

}  // namespace kv
