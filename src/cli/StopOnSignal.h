#pragma once
// SIGINT (Ctrl+C) and SIGTERM while a command works on its ports. The first asks the console
// link of every port to stop before its next line, so that each port still says what state
// its gateway is in and which backup gives it back; the second ends the program at once.

#include <QString>

#include "console/StopRequest.h"

namespace kv::cli {

class StopOnSignal {
public:
    // Installs the handlers, with no stop requested yet; the destructor puts the earlier
    // handlers back.
    StopOnSignal();
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    // The request that the ports' console links ask.
    static const StopRequest& Request();
    // The signal that asked to stop; 0 while none has.
    static int Signal();
    // 128 + the signal, as a shell reports a program the signal ended: 130 for SIGINT, 143
    // for SIGTERM.
    static int ExitStatus() { return 128 + Signal(); }
};

// "Stopped by SIGTERM.": what a port says in place of the failure a stop causes.
QString StoppedText();

}  // namespace kv::cli
