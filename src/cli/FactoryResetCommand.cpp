// `factory-reset --port P --yes`: the factory Ethernet settings, node ID 1 at 125 kbit/s, the
// port check bytes and the configuration marker cleared, as the save window's
// "Factory Setting" does.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortJobs.h"
#include "save/BackupBeforeWrite.h"
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
    const QString backupFolder = BackupFolderOf(in.Args);
    const auto resetOne = [&backupFolder](PortWork& work) {
        // The read-out names the controller, whose prompt ends every command's answer, and
        // gives the configuration kept before the reset.
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        QString backup;
        if (!backupFolder.isEmpty()) {
            const KeptBackup kept = KeepBackup(backupFolder, config, PortFileStem(work.Port));
            if (!kept.ok()) {
                work.Err << kept.Error << "\nNothing was written to the gateway.\n";
                return ExitFailed;
            }
            backup = kept.Path;
            work.Out << BackupKeptText(backup) << "\n";
        }
        if (FactoryReset(console->Link, config,
                         work.Report(QStringLiteral("resetting"), FactoryResetProgressMaximum)) !=
            WriteResult::Ok) {
            work.Err << ReportWriteFailure().Text << "\n";
            console->PrintLastExchange(work.Err);
            if (!backup.isEmpty()) work.Err << RestoreFromBackupText(backup) << "\n";
            return ExitFailed;
        }
        work.Out << "Factory settings restored.\n";
        return ExitOk;
    };
    return RunOnPorts(ports, in.Args, resetOne, in.Out, in.Err);
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
