#pragma once
// The console link as the CLI uses it: a real serial port named by the --port argument
// ("COM3", "3" or a device path), the steady clock and the Qt event pump.

#include "console/ConsoleLink.h"
#include "platform/QtEventPump.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

#include <QStringList>
#include <QTextStream>

#include <memory>

namespace kv::cli {

class CliConsole {
public:
    QtSerialPort Port;
    SteadyClock Clock;
    QtEventPump Pump;
    ConsoleLink Link{Port, Clock, Pump};
    QString PortLabel;   // " 3" for COM 3, or the device path, as messages show it
};

// Selects and opens the port that --port names. On failure prints the same message as
// the window would show to `err` and returns null.
std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument, QTextStream& err);

// The value after `option` in args ("--port COM3"), empty when absent.
QString OptionValue(const QStringList& args, const QString& option);

}  // namespace kv::cli
