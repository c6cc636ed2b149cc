#include "cli/StopOnSignal.h"

#include <atomic>
#include <csignal>

#include "platform/StopSignals.h"

namespace kv::cli {
namespace {

StopRequest stopRequest;
// Written by the handler, read by the ports' threads: lock-free, so safe in the handler.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Only async-signal-safe calls here.
void NoteStop(int signal) {
    if (stopRequest.Requested()) {
        // The second: the signal's own action, once this handler returns.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    stopSignal = signal;
    stopRequest.Request();
}

}  // namespace

StopOnSignal::StopOnSignal() {
    stopRequest.Withdraw();
    stopSignal = 0;
    // The port's waits go on after the handler; the link asks the request between lines.
    InstallStopSignalHandler(NoteStop);
}

StopOnSignal::~StopOnSignal() { RestoreStopSignalHandlers(); }

const StopRequest& StopOnSignal::Request() { return stopRequest; }

int StopOnSignal::Signal() { return stopSignal; }

QString StoppedText() {
    return StopOnSignal::Signal() == SIGINT ? QStringLiteral("Stopped by SIGINT.")
                                            : QStringLiteral("Stopped by SIGTERM.");
}

}  // namespace kv::cli
