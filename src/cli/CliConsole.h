#pragma once
// The console link as the CLI uses it: a real serial port named by the --port argument
// ("COM3", "3", a device path or a network address) and the steady clock. The command's own
// thread waits on the port; no event loop is needed. A stop signal ends its operation before
// the next line.

#include <QStringList>
#include <QTextStream>
#include <memory>

#include "cli/Invocation.h"
#include "cli/PortJobs.h"
#include "cli/StopOnSignal.h"
#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/PortGuard.h"
#include "console/ReadOut.h"
#include "platform/RoutedSerialPort.h"
#include "platform/SteadyClock.h"
#include "save/ApplyConfiguration.h"

namespace kv::cli {

class CliConsole {
public:
    CliConsole(const QString& portName, const ConsoleSettings& settings);
    // Hands the exchange to the trace file.
    ~CliConsole();
    CliConsole(const CliConsole&) = delete;
    CliConsole& operator=(const CliConsole&) = delete;

    // After an operation failed: `failure` and its details (FailureDetails: the hint when the
    // gateway never answered, the last exchange), or only the stop when a stop signal ended
    // the operation.
    void PrintFailure(QTextStream& err, const QString& failure) const;

    QString PortName;
    RoutedSerialPort Port;
    SteadyClock Clock;
    ConsoleLink Link{Port, Clock};
    // Opened once for the command; the port closes when the console goes.
    std::unique_ptr<PortGuard> Guard;

private:
    TraceFile& trace_;
};

// Selects and opens the port that --port names. On failure prints the same message as
// the window would show to `err` and returns null.
std::unique_ptr<CliConsole> OpenCliConsole(const QString& portArgument,
                                           const ConsoleSettings& settings, QTextStream& err);

// Reads the gateway on the open console. On a failure prints the read-out's message to
// `err` and returns false.
bool ReadCliGateway(CliConsole& console, GatewayConfig& config, QTextStream& err,
                    const ProgressFn& progress = {});

// Opens the port of `work` and reads its gateway into `config`, showing how far it is. On a
// failure the message is printed and the result is null.
std::unique_ptr<CliConsole> ReadPortGateway(PortWork& work, GatewayConfig& config);

// The end of a write that failed: what state the gateway is in (`stateText`, if given, in
// place of the state's own line) and, when partly written, the backup that gives it back.
// Returns the failed status.
int PrintWriteState(const PortWork& work, ApplyState state, const QString& backup,
                    const QString& stateText = {});

}  // namespace kv::cli
