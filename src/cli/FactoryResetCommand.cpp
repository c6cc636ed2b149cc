// `factory-reset --port P --yes`: the factory Ethernet settings, node ID 1 at 125 kbit/s, the
// port check bytes and the configuration marker cleared, as the save window's
// "Factory Setting" does.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortJobs.h"
#include "save/FactoryReset.h"
#include "save/SaveReports.h"

namespace kv::cli {
namespace {

// FactoryReset reports 3..10.
constexpr int FactoryResetProgressMaximum = 10;

int RunFactoryReset(const Invocation& in) {
    if (!in.Args.isSet(QStringLiteral("yes"))) {
        in.Err << FactoryResetTitle
               << ": the gateway's settings are replaced; add --yes to go on.\n";
        return ExitUsage;
    }
    const QStringList ports = PortsOf(in.Args);
    if (ports.isEmpty()) return NoPortGiven(in.Err);
    const auto resetOne = [](PortWork& work) {
        auto console = OpenCliConsole(work.Port, work.Err);
        if (!console) return ExitFailed;
        // The read-out names the controller, whose prompt ends every command's answer.
        GatewayConfig config;
        if (!ReadCliGateway(*console, config, work.Err,
                            work.Report(QStringLiteral("reading"), ReadOutProgressMaximum)))
            return ExitFailed;
        if (FactoryReset(console->Link, config,
                         work.Report(QStringLiteral("resetting"), FactoryResetProgressMaximum)) !=
            WriteResult::Ok) {
            work.Err << ReportWriteFailure().Text << "\n";
            console->PrintLastExchange(work.Err);
            return ExitFailed;
        }
        work.Out << "Factory settings restored.\n";
        return ExitOk;
    };
    return RunOnPorts(ports, in.Args, resetOne, in.Out, in.Err);
}

const bool registered = RegisterCommand(
    {"factory-reset",
     "--port P [--port P...] --yes",
     "restore the factory settings",
     {PortOption(),
      QuietOption(),
      {"yes", QStringLiteral("Confirm that the gateway's settings are to be replaced.")}},
     {},
     RunFactoryReset});

}  // namespace
}  // namespace kv::cli
