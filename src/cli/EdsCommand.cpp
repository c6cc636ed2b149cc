// `eds --port P [--out-dir DIR] [--description T] [--created-by T]`: reads the gateway and
// writes the EDS file that a save of the unchanged configuration would write.

#include <QDir>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "config/WorkingCopy.h"
#include "eds/EdsFile.h"
#include "save/PollPaths.h"

namespace kv::cli {
namespace {

int RunEds(const QStringList& args, QTextStream& out, QTextStream& err) {
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;
    GatewayConfig config;
    if (!ReadCliGateway(*console, config, err)) return 1;
    console.reset();  // frees the port for other programs while the output is made
    // What the save window works on when nothing is changed: the editor's copy of the
    // classes and the poll paths it starts from.
    MakeWorkingCopy(config);
    const QString outDir = OptionValue(args, QStringLiteral("--out-dir"));
    const EdsFileResult eds = WriteEdsFile({outDir.isEmpty() ? QDir::currentPath() : outDir},
                                           config, PreselectedPaths(config),
                                           {OptionValue(args, QStringLiteral("--description")),
                                            OptionValue(args, QStringLiteral("--created-by"))});
    if (!eds.Ok) {
        err << eds.ErrorText << "\n";
        return 1;
    }
    out << eds.Path << "\n";
    return 0;
}

const bool registered = RegisterCommand(
    {"eds", "eds --port P [--out-dir DIR] [--description T] [--created-by T]", RunEds});

}  // namespace
}  // namespace kv::cli
