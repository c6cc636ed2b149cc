#pragma once
// The event loop of the simulator program: bytes from the pseudo-terminal go to the
// console over the modelled serial line, and the console's output is written back at line
// speed, in real time. The loop sleeps in ppoll() until a byte arrives or the next output
// byte is due; it never spins.

#include <QString>
#include <cstdint>
#include <functional>

#include "console/ConsoleTrace.h"
#include "sim/ConsoleWire.h"
#include "sim/StopSignals.h"

namespace kv::sim {

class PtyGateway {
public:
    // With lineSpeed false the console's output goes out as soon as it is printed.
    PtyGateway(ConsoleEmulator& console, int masterFd, bool lineSpeed);

    // Serves the console until a stop signal arrives. False, with the reason in `error`,
    // when the pseudo-terminal fails.
    bool Run(const StopSignals& signals, QString& error);

    // Every chunk read from and written to the terminal, kept when `Tracing` is set.
    bool Tracing = false;
    ConsoleTrace Trace;

    // Called once the line has been quiet for a while after traffic: for work that must not
    // delay a reply, such as writing a file that waits for the disk.
    std::function<void()> WhenQuiet;

private:
    bool ReadFromPc(QString& error);
    bool WriteToPc(QString& error);
    // No output is on the line or waiting for the terminal.
    bool NothingDue() const;
    void NoteTraffic();
    void RunWhenQuiet();
    timespec WaitTime() const;

    int master_;
    uint64_t lastTrafficNs_ = 0;
    bool quietWorkDue_ = false;
    ConsoleWire wire_;
    QByteArray unwritten_;  // taken from the line but not yet accepted by the terminal
};

}  // namespace kv::sim
