#pragma once
// Probing the commands of one serial class from the PC's own port on that bus: Modbus RTU
// through libmodbus, Modbus ASCII framed here (AsciiFrame.h) over the program's serial port.

#include <QList>

#include "console/StopRequest.h"
#include "modbus/ProbeLink.h"

namespace kv {

// The results of the bus's commands, in its order. A port that does not open leaves every
// command unreachable.
QList<ProbeResult> ProbeSerialBus(const SerialBusPlan& bus, const StopRequest& stop,
                                  const CommandProbed& probed = {});

}  // namespace kv
