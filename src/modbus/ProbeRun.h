#pragma once
// A whole probe: every server and serial bus at once, each on a thread of its own with its
// own connection, so that a device that never answers holds up no other link.

#include <QList>

#include "console/StopRequest.h"
#include "modbus/ProbeLink.h"

namespace kv {

// Every planned command's result, in class and instance order. Returns within about a
// tenth of a second of a stop. `probed` is called on the probing threads, once per command
// tried.
QList<ProbeResult> RunProbes(const ProbePlan& plan, const StopRequest& stop,
                             const CommandProbed& probed = {});

// How many commands the plan tries: what `probed` counts up to.
int ProbedCommandCount(const ProbePlan& plan);

}  // namespace kv
