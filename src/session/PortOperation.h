#pragma once
// An operation of the windows on COM n: the port opened through one guard, the work done
// on a copy of the configuration, and both handed back to the window thread, which owns
// the program's configuration and takes the copy back when the outcome arrives.

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/PortGuard.h"
#include "console/ReadOut.h"

namespace kv {

// Reported once the port is open, before the operation's own progress values: the window
// then shows that the exchange runs.
inline constexpr int PortOpenedProgress = -1;

template <typename Result>
struct PortOutcome {
    PortOpenResult Opened;  // not ok: nothing was sent
    Result Value{};
    GatewayConfig Config;  // the configuration as the operation left it
};

// Opens COM `portNumber` (or keeps the port that is held open) and runs
// `work(link, config)` on it; the port is closed when the work ends.
template <typename Result, typename Work>
PortOutcome<Result> RunOnPort(ConsoleLink& link, int portNumber, GatewayConfig config,
                              const ProgressFn& progress, Work work) {
    if (!link.Port().IsOpen()) link.Port().SelectPort(portNumber);
    PortGuard guard(link.Port());
    if (!guard.ok()) return {guard.Opened(), {}, std::move(config)};
    ReportProgress(progress, PortOpenedProgress);
    Result value = work(link, config);
    return {{}, std::move(value), std::move(config)};
}

}  // namespace kv
