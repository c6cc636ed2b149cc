// `read --port P [--json]`: reads a gateway and prints its configuration.

#include <QJsonDocument>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "config/ConfigJson.h"

namespace kv::cli {
namespace {

int RunRead(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool json = args.contains(QStringLiteral("--json"));
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;

    GatewayConfig config;
    if (!ReadCliGateway(*console, config, err)) return 1;
    console.reset();  // frees the port for other programs while the output is made
    if (json)
        out << QJsonDocument(ConfigToJson(config)).toJson(QJsonDocument::Indented);
    else
        out << FormatConfigText(config);
    return 0;
}

const bool registered = RegisterCommand({"read", "read --port P [--json]", RunRead});

}  // namespace
}  // namespace kv::cli
