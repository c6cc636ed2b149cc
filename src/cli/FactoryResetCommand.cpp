// `factory-reset --port P --yes`: the factory Ethernet settings, node ID 1 at 125 kbit/s, the
// port check bytes and the configuration marker cleared, as the save window's
// "Factory Setting" does.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "platform/PortNaming.h"
#include "save/BackupBeforeWrite.h"
#include "save/FactoryReset.h"
#include "save/OutcomeOf.h"
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
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const QString backupFolder = BackupFolderOf(in.Args);
    in.Result.Writes = true;
    const auto resetOne = [&backupFolder](PortWork& work) {
        // The read-out names the controller, whose prompt ends every command's answer, and
        // gives the configuration kept before the reset.
        auto console = OpenCliConsole(work.Port, work.Console, work.Err);
        if (!console) return ExitFailed;
        GatewayConfig config;
        if (!ReadCliGateway(*console, config, work.Err,
                            work.Report(QStringLiteral("reading"), ReadOutProgressMaximum)))
            return PrintWriteState(work, ApplyState::NotWritten, {});
        QString backup;
        if (!backupFolder.isEmpty()) {
            const KeptBackup kept = KeepBackup(backupFolder, config, PortFileStem(work.Port));
            if (!kept.ok()) {
                work.Err << kept.Error << "\n";
                return PrintWriteState(work, ApplyState::NotWritten, {});
            }
            backup = kept.Path;
            work.Tell(BackupKeptText(backup));
        }
        const WriteResult reset =
            FactoryReset(console->Link, config,
                         work.Report(QStringLiteral("resetting"), FactoryResetProgressMaximum));
        work.Outcome = OutcomeOf(reset, console->Link, backup);
        if (reset != WriteResult::Ok) {
            console->PrintFailure(work.Err, ReportWriteFailure(console->Link.End()).Text);
            return PrintWriteState(work, StateAfterEndedWrite(console->Link), backup);
        }
        work.Out << "Factory settings restored.\n";
        return ExitOk;
    };
    return RunOnPorts(ports, in, resetOne);
}

const bool registered = RegisterCommand(
    {"factory-reset",
     "--port P [--port P...] --yes [--backup-dir DIR | --no-backup]",
     "restore the factory settings",
     {PortOption(),
      QuietOption(),
      {"yes", QStringLiteral("Confirm that the gateway's settings are to be replaced.")},
      BackupOptions()[0],
      BackupOptions()[1]},
     {},
     RunFactoryReset});

}  // namespace
}  // namespace kv::cli
