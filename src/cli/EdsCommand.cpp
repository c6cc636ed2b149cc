// `eds --port P [--out-dir DIR] [--description T] [--created-by T]`: reads the gateway and
// writes the EDS file that a save of the unchanged configuration would write; with more
// than one port each port's file goes into a folder PORT in DIR.

#include <QDir>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "config/WorkingCopy.h"
#include "eds/EdsFile.h"
#include "platform/PortNaming.h"
#include "save/PollPaths.h"

namespace kv::cli {
namespace {

int RunEds(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const QString outDir = OutputFolder(in.Args.value(QStringLiteral("out-dir")), in.Err);
    if (outDir.isEmpty()) return ExitFailed;
    const EdsInfoTexts texts{in.Args.value(QStringLiteral("description")),
                             in.Args.value(QStringLiteral("created-by"))};

    const auto edsOne = [&](PortWork& work) {
        const QString folder =
            ports.size() > 1
                ? OutputFolder(QDir(outDir).filePath(PortFileStem(work.Port)), work.Err)
                : outDir;
        if (folder.isEmpty()) return ExitFailed;
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();  // frees the port for other programs while the output is made
        // What the save window works on when nothing is changed: the editor's copy of the
        // classes and the poll paths it starts from.
        MakeWorkingCopy(config);
        const EdsFileResult eds = WriteEdsFile({folder}, config, PreselectedPaths(config), texts);
        if (!eds.Ok) {
            work.Err << eds.ErrorText << "\n";
            return ExitFailed;
        }
        work.Out << eds.Path << "\n";
        work.Result.insert(QStringLiteral("File"), eds.Path);
        return ExitOk;
    };
    return RunOnPorts(ports, in, edsOne);
}

const bool registered = RegisterCommand(
    {"eds",
     "--port P [--port P...] [--out-dir DIR] [--description T] [--created-by T]",
     "write the EDS file of the gateway's configuration (into DIR/PORT/ for many ports)",
     {PortOption(), QuietOption(), OutDirOption(), EdsTextOption("description"),
      EdsTextOption("created-by")},
     {},
     RunEds});

}  // namespace
}  // namespace kv::cli
