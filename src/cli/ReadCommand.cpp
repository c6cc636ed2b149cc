// `read --port P [--json [--texts] [--no-derived]] [--out-dir DIR]`: reads gateways and
// prints their configuration, or with --out-dir or more than one port writes it as PORT.json
// into the folder. With --json and more than one port (or --out-dir) it prints the result
// document, each port's configuration in it (or its file's name).

#include <QDir>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "platform/PortNaming.h"

namespace kv::cli {
namespace {

int RunRead(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const bool json = in.Args.isSet(QStringLiteral("json"));
    const bool toFiles = ports.size() > 1 || in.Args.isSet(QStringLiteral("out-dir"));
    const ConfigFileForm form{.Texts = in.Args.isSet(QStringLiteral("texts")),
                              .Derived = !in.Args.isSet(QStringLiteral("no-derived"))};
    if ((form.Texts || !form.Derived) && !json && !toFiles) {
        in.Err << "--texts and --no-derived go with --json or --out-dir\n";
        return ExitUsage;
    }
    // One port's configuration is the file itself; the document of many ports carries each
    // port's, or with --out-dir the names of their files.
    if (json && !toFiles) in.Result.PrintFileInstead();
    const bool intoDocument = in.Result.Wanted() && !in.Args.isSet(QStringLiteral("out-dir"));
    QString folder;
    if (toFiles && !intoDocument &&
        (folder = OutputFolder(in.Args.value(QStringLiteral("out-dir")), in.Err)).isEmpty())
        return ExitFailed;

    const auto readOne = [&](PortWork& work) {
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();  // frees the port for other programs while the output is made
        if (intoDocument) {
            work.Result.insert(QStringLiteral("Configuration"), ConfigToJson(config, form));
            return ExitOk;
        }
        if (toFiles) {
            const QString path = QDir(folder).filePath(PortFileStem(work.Port) + ".json");
            work.Result.insert(QStringLiteral("File"), path);
            return WriteOutputFile(path, ConfigFileText(config, form), work.Err) ? ExitOk
                                                                                 : ExitFailed;
        }
        if (json)
            work.Out << ConfigFileText(config, form);
        else
            work.Out << FormatConfigText(config);
        return ExitOk;
    };
    return RunOnPorts(ports, in, readOne);
}

const bool registered =
    RegisterCommand({"read",
                     "--port P [--port P...] [--json [--texts] [--no-derived]] [--out-dir DIR]",
                     "read gateways and print their configuration (PORT.json files with --out-dir)",
                     {PortOption(),
                      QuietOption(),
                      {"json", QStringLiteral("Print JSON, as apply takes it.")},
                      {"texts", QStringLiteral("Write list fields as their list texts "
                                               "(\"Parity\": \"EVEN\"), not numbers.")},
                      {"no-derived", QStringLiteral("Leave out what the gateway derives: "
                                                    "FirmwareInfo, ConfigMarker, PortChecksum, "
                                                    "ComBaudIndex.")},
                      OutDirOption()},
                     {},
                     RunRead});

}  // namespace
}  // namespace kv::cli
