#pragma once
// One connection to Modbus devices (a TCP server, a serial bus) and the commands probed on
// it one after another.

#include <QList>
#include <functional>
#include <optional>

#include "modbus/ProbePlan.h"
#include "modbus/ReplyCheck.h"

namespace kv {

// How often a wait for a device asks whether to stop.
inline constexpr int StopAskedEveryMs = 100;

class ProbeLink {
public:
    virtual ~ProbeLink() = default;
    // Opens the connection; the verdict every command gets when it cannot be opened
    // (Unreachable, or Stopped), nothing when it is open.
    virtual std::optional<ReplyVerdict> Open() = 0;
    virtual bool IsOpen() const = 0;
    // Sends one read and judges its answer; may close the connection when it is no longer
    // in step (the next command opens it again).
    virtual ReplyVerdict Exchange(const ProbeRead& read) = 0;
};

// Called on a probing thread each time a command's outcome is known.
using CommandProbed = std::function<void()>;

// The results of `commands`, in their order. A link that cannot be opened, or a stop,
// gives every later command the same outcome.
QList<ProbeResult> ProbeCommands(const QList<PlannedProbe>& commands, ProbeLink& link,
                                 const CommandProbed& probed);

}  // namespace kv
