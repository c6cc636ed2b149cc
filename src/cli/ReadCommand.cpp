// `read --port P [--json]`: reads a gateway and prints its configuration.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "config/ConfigJson.h"
#include "console/Messages.h"
#include "console/ReadOut.h"

#include <QJsonDocument>

namespace kv::cli {
namespace {

int RunRead(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool json = args.contains(QStringLiteral("--json"));
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;

    GatewayConfig config;
    const ReadOutResult result = ReadGateway(console->Link, config, [](int) {});
    console->Port.Close();
    switch (result) {
    case ReadOutResult::Ok:
        break;
    case ReadOutResult::UnknownController:
        err << UnknownControllerText << "\n";
        return 1;
    case ReadOutResult::Timeout:
        err << TimeoutText << "\n";
        return 1;
    }
    if (json)
        out << QJsonDocument(ConfigToJson(config)).toJson(QJsonDocument::Indented);
    else
        out << FormatConfigText(config);
    return 0;
}

const bool registered = RegisterCommand({"read", "read --port P [--json]", RunRead});

}  // namespace
}  // namespace kv::cli
