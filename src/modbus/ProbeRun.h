#pragma once
// A whole probe: every server and serial bus at once, each on a thread of its own with its
// own connection, so that a device that never answers holds up no other link.

#include <QList>

#include "console/StopRequest.h"
#include "modbus/ProbePlan.h"

namespace kv {

// Every planned command's result, in class and instance order. Returns within about a
// tenth of a second of a stop.
QList<ProbeResult> RunProbes(const ProbePlan& plan, const StopRequest& stop);

}  // namespace kv
