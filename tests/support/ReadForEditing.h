#pragma once
// A virtual gateway read the way the main window reads it, then the editor's working copy
// made: where the save and the factory reset start.

#include "config/WorkingCopy.h"
#include "console/ReadOut.h"
#include "support/SimulatedGateway.h"

namespace kv::test {

// Leaves the port closed. Returns the number of lines the read-out sent, or -1 when the
// read-out failed.
inline int ReadForEditing(SimulatedGateway& gateway, ConsoleLink& link, GatewayConfig& config) {
    const bool read =
        gateway.Port.Open().ok() && ReadGateway(link, config, [](int) {}) == ReadOutResult::Ok;
    gateway.Port.Close();
    MakeWorkingCopy(config);
    return read ? int(gateway.LinesReceived().size()) : -1;
}

}  // namespace kv::test
