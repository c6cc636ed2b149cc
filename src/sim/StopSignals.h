#pragma once
// SIGINT, SIGTERM and SIGHUP end the simulator cleanly (its COM link removed). They are
// held back everywhere except while the event loop waits, so that one cannot arrive
// between publishing the link and the loop's first wait and kill the process outright.

#include <csignal>

namespace kv::sim {

class StopSignals {
public:
    // Blocks the signals and installs the handler that notes them.
    StopSignals();
    // The signal mask to wait with: the stop signals let through.
    const sigset_t& WaitMask() const { return waitMask_; }
    static bool Requested();

private:
    sigset_t waitMask_;
};

}  // namespace kv::sim
