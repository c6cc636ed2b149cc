#pragma once
// The signals that ask a program to stop, SIGINT (Ctrl+C) and SIGTERM, handled in the
// platform's way (posix/StopSignals.cpp, portable/StopSignals.cpp).

namespace kv {

using StopSignalHandler = void (*)(int signal);

// Calls `handler` on either signal from now on; waits that the signal interrupts go on
// after it.
void InstallStopSignalHandler(StopSignalHandler handler);
// Puts back the handlers there were before InstallStopSignalHandler.
void RestoreStopSignalHandlers();

}  // namespace kv
