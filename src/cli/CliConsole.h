#pragma once
// The console link as the CLI uses it: a real serial port named by the --port argument
// ("COM3", "3" or a device path) and the steady clock. The command's own thread waits on
// the port; no event loop is needed.

#include <QStringList>
#include <QTextStream>
#include <memory>

#include "cli/PortJobs.h"
#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/PortGuard.h"
#include "console/ReadOut.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

namespace kv::cli {

class CliConsole {
public:
    explicit CliConsole(const QString& portName) : PortName(portName) {}
    // Hands the exchange to --trace.
    ~CliConsole();
    CliConsole(const CliConsole&) = delete;
    CliConsole& operator=(const CliConsole&) = delete;

    // After a failure: the last command sent and what came back, in one line.
    void PrintLastExchange(QTextStream& err) const;

    QString PortName;
    QtSerialPort Port;
    SteadyClock Clock;
    ConsoleLink Link{Port, Clock};
    // Opened once for the command; the port closes when the console goes.
    std::unique_ptr<PortGuard> Guard;
};

// Selects and opens the port that --port names. On failure prints the same message as
// the window would show to `err` and returns null.
std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument, QTextStream& err);

// Reads the gateway on the open console. On a failure prints the read-out's message to
// `err` and returns false.
bool ReadCliGateway(CliConsole& console, GatewayConfig& config, QTextStream& err,
                    const ProgressFn& progress = {});

// Opens the port of `work` and reads its gateway into `config`, showing how far it is. On a
// failure the message is printed and the result is null.
std::unique_ptr<CliConsole> ReadPortGateway(PortWork& work, GatewayConfig& config);

}  // namespace kv::cli
