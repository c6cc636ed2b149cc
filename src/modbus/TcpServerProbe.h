#pragma once
// Probing the commands of one Modbus TCP server, one after another on one connection.

#include <QList>

#include "console/StopRequest.h"
#include "modbus/ProbeLink.h"

namespace kv {

// The results of the server's commands, in its order. A connection that cannot be made
// leaves every command unreachable; after a time-out or a malformed answer the next command
// gets a new connection.
QList<ProbeResult> ProbeTcpServer(const TcpServerPlan& server, const StopRequest& stop,
                                  const CommandProbed& probed = {});

}  // namespace kv
