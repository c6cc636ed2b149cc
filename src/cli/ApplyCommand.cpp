// `apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify]
// [--dry-run]`: merges a JSON configuration into the gateway's own, checks it as the windows do,
// writes it as the save window does, writes the EDS file and reads the gateway back to compare.
// With --dry-run it only lists the fields the write would change. With more than one port
// each gateway gets the file and its EDS file goes into DIR/PORT/.

#include <QDir>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortJobs.h"
#include "config/ConfigFile.h"
#include "save/ApplyConfiguration.h"
#include "save/ApplyPlan.h"
#include "save/BackupBeforeWrite.h"
#include "save/ConfigChanges.h"
#include "save/SaveConfiguration.h"

namespace kv::cli {
namespace {

int RunApply(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const ConfigFileRead file = ReadConfigFile(in.Args.positionalArguments().first());
    if (!file.ok()) {
        in.Err << file.Error << "\n";
        return ExitUsage;
    }
    // A file that cannot be written is refused before any port is opened.
    if (const QStringList problems = FileProblems(file.Json); !problems.isEmpty()) {
        for (const QString& problem : problems) in.Err << problem << "\n";
        in.Err << ApplyStateText(ApplyOutcome{}) << "\n";
        return ExitFailed;
    }
    const QString edsDir = OutputFolder(in.Args.value(QStringLiteral("eds-dir")), in.Err);
    if (edsDir.isEmpty()) return ExitFailed;

    const auto applyOne = [&](PortWork& work) {
        ApplyOptions options;
        const QString folder =
            ports.size() > 1
                ? OutputFolder(QDir(edsDir).filePath(PortFileStem(work.Port)), work.Err)
                : edsDir;
        if (folder.isEmpty()) return ExitFailed;
        options.EdsFolders = {folder};
        options.EdsInfo = {in.Args.value(QStringLiteral("description")),
                           in.Args.value(QStringLiteral("created-by"))};
        options.Verify = !in.Args.isSet(QStringLiteral("no-verify"));
        options.Progress = work.Report(QStringLiteral("applying"), 100);
        options.DryRun = in.Args.isSet(QStringLiteral("dry-run"));
        options.BackupFolder = BackupFolderOf(in.Args);
        options.PortName = PortFileStem(work.Port);
        options.BackupKept = [&work](const QString& path) { work.Tell(BackupKeptText(path)); };
        auto console = OpenCliConsole(work.Port, work.Err);
        if (!console) return ExitFailed;
        const ApplyOutcome outcome = ApplyConfiguration(console->Link, file.Json, options);

        for (const QString& warning : outcome.Warnings) work.Err << "Warning: " << warning << "\n";
        if (options.DryRun && outcome.Ok) {
            work.Out << (outcome.Changes.isEmpty() ? QString::fromLatin1(NoChangesText)
                                                   : outcome.Changes.join(u'\n'))
                     << "\n";
            return ExitOk;
        }
        if (!outcome.EdsPath.isEmpty())
            work.Out << SaveDoneText({SaveStatus::Ok, outcome.EdsPath, {}}) << "\n";
        if (outcome.Ok) {
            work.Out << ApplyStateText(outcome) << "\n";
            return ExitOk;
        }
        if (outcome.ConsoleFailed) {
            console->PrintFailure(work.Err, outcome.Errors.join(u'\n'));
        } else {
            for (const QString& error : outcome.Errors) work.Err << error << "\n";
        }
        // After a stop the read-back was not begun, rather than failed.
        return PrintWriteState(work, outcome.State, outcome.BackupPath,
                               console->Link.Stopped ? QString() : ApplyStateText(outcome));
    };
    return RunOnPorts(ports, in.Args, applyOne, in.Out, in.Err);
}

const bool registered = RegisterCommand(
    {"apply",
     "--port P [--port P...] FILE.json [--eds-dir DIR] [--description T] [--created-by T] "
     "[--no-verify] [--dry-run] [--backup-dir DIR | --no-backup]",
     "check a configuration file, write it, write the EDS file and verify",
     {PortOption(),
      QuietOption(),
      {"eds-dir",
       QStringLiteral("The EDS file's folder (default: the current folder; DIR/PORT/ with "
                      "more than one port)."),
       QStringLiteral("DIR")},
      EdsTextOption("description"),
      EdsTextOption("created-by"),
      {"no-verify", QStringLiteral("Do not read the gateway again to compare.")},
      {"dry-run", QStringLiteral("Read, merge and check, list the changes, write nothing.")},
      BackupOptions()[0],
      BackupOptions()[1]},
     {{"FILE.json", "A configuration as read --json prints it; only the keys it holds change."}},
     RunApply});

}  // namespace
}  // namespace kv::cli
