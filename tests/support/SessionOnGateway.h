#pragma once
// The gateway session of the windows, talking to a virtual gateway of the test: the
// session thread runs the exchanges in the gateway's simulated time.

#include <QCoreApplication>
#include <QEventLoop>

#include "config/WorkingCopy.h"
#include "session/GatewaySession.h"
#include "session/PortOperation.h"
#include "support/SimulatedGateway.h"

namespace kv::test {

inline SessionDeviceFactory DevicesOf(AimedPort& port, Clock& clock) {
    return [&port, &clock] {
        // The test owns both; the session only borrows them.
        return SessionDevices{std::shared_ptr<AimedPort>(&port, [](AimedPort*) {}),
                              std::shared_ptr<Clock>(&clock, [](Clock*) {})};
    };
}

inline SessionDeviceFactory DevicesOf(SimulatedGateway& gateway) {
    return DevicesOf(gateway.Port, gateway.Clock);
}

// Lets the window thread run until the session's operation has ended and its outcome was
// shown. Simulated time makes that quick; each turn waits for the next posted event.
inline bool WaitUntilIdle(GatewaySession& session) {
    while (session.IsBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

// Reads the gateway on the session as the main window does, then makes the editor's
// working copy: where a save or a factory reset starts. Returns the number of lines the
// read-out sent, or -1 when it failed.
inline int ReadOnSession(GatewaySession& session, SimulatedGateway& gateway,
                         GatewayConfig& config) {
    QObject context;
    bool read = false;
    using Outcome = PortOutcome<ReadOutResult>;
    session.Run<Outcome>(
        &context,
        [&gateway, config](ConsoleLink& link, const ProgressFn& progress) {
            return RunOnPort<ReadOutResult>(
                link, gateway.Port.SelectedPort(), config, progress,
                [](ConsoleLink& open, GatewayConfig& into) { return ReadGateway(open, into, {}); });
        },
        {},
        [&](const Outcome& outcome) {
            read = outcome.Opened.ok() && outcome.Value == ReadOutResult::Ok;
            config = outcome.Config;
        });
    WaitUntilIdle(session);
    MakeWorkingCopy(config);
    return read ? int(gateway.LinesReceived().size()) : -1;
}

}  // namespace kv::test
