#pragma once
// The console link as the CLI uses it: a real serial port named by the --port argument
// ("COM3", "3" or a device path), the steady clock and the Qt event pump.

#include <QStringList>
#include <QTextStream>
#include <memory>

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/QtEventPump.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

namespace kv::cli {

class CliConsole {
public:
    QtSerialPort Port;
    SteadyClock Clock;
    QtEventPump Pump;
    ConsoleLink Link{Port, Clock, Pump};
};

// Selects and opens the port that --port names. On failure prints the same message as
// the window would show to `err` and returns null.
std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument, QTextStream& err);

// Reads the gateway on the open console. On a failure prints the read-out's message to
// `err`, closes the port and returns false; on success the port stays open.
bool ReadCliGateway(CliConsole& console, GatewayConfig& config, QTextStream& err,
                    const ProgressFn& progress = {});

}  // namespace kv::cli
