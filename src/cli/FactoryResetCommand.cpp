// `factory-reset --port P --yes`: the factory Ethernet settings, node ID 1 at 125 kbit/s, the
// port check bytes and the configuration marker cleared, as the save window's
// "Factory Setting" does.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "save/FactoryReset.h"
#include "save/SaveReports.h"

namespace kv::cli {
namespace {

int RunFactoryReset(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (!args.contains(QStringLiteral("--yes"))) {
        err << FactoryResetTitle << ": the gateway's settings are replaced; add --yes to go on.\n";
        return 2;
    }
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;
    // The read-out names the controller, whose prompt ends every command's answer.
    GatewayConfig config;
    if (!ReadCliGateway(*console, config, err)) return 1;
    if (FactoryReset(console->Link, config, {}) != WriteResult::Ok) {
        err << ReportWriteFailure().Text << "\n";
        return 1;
    }
    out << "Factory settings restored.\n";
    return 0;
}

const bool registered =
    RegisterCommand({"factory-reset", "factory-reset --port P --yes", RunFactoryReset});

}  // namespace
}  // namespace kv::cli
