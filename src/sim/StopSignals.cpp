#include "sim/StopSignals.h"

#include <array>

namespace kv::sim {

namespace {

constexpr std::array StopSignalNumbers = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t stopRequested = 0;

void NoteStop(int) { stopRequested = 1; }

}  // namespace

StopSignals::StopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    for (int number : StopSignalNumbers) sigaddset(&stop, number);
    sigprocmask(SIG_BLOCK, &stop, &waitMask_);
    for (int number : StopSignalNumbers) {
        struct sigaction action {};
        action.sa_handler = NoteStop;
        sigemptyset(&action.sa_mask);
        sigaction(number, &action, nullptr);
        sigdelset(&waitMask_, number);
    }
}

bool StopSignals::Requested() { return stopRequested != 0; }

}  // namespace kv::sim
