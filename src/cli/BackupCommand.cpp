// `backup --port P FILE.ini` and `restore --port P FILE.ini`: the EEPROM copy of the
// window "Import/Export EEPROM", with the same sequences and messages. backup takes
// more than one port with --out-dir and writes PORT.ini for each; restore checks the file
// before it opens a port and keeps each gateway's configuration before it writes.

#include <QDir>
#include <functional>

#include "backup/CopyMessages.h"
#include "backup/EepromCopy.h"
#include "backup/RestoreBackup.h"
#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "cli/StopOnSignal.h"
#include "config/ConfigFile.h"
#include "platform/PortNaming.h"
#include "save/BackupBeforeWrite.h"
#include "save/OutcomeOf.h"

namespace kv::cli {
namespace {

// The file of each port: the one given, or PORT.ini in the output folder.
using PathFn = std::function<QString(const QString& port)>;

int RunImport(const Invocation& in, const QStringList& ports, const PathFn& pathOf) {
    const auto importOne = [&](PortWork& work) {
        auto console = OpenCliConsole(work.Port, work.Console, work.Err);
        if (!console) return ExitFailed;
        const QString path = pathOf(work.Port);
        const CopyOutcome outcome =
            ImportToIni(console->Link, path,
                        work.Report(QStringLiteral("reading the EEPROM"), CopyProgressMaximum));
        const CopyMessage message =
            CopyOutcomeMessage(CopyDirection::Import, outcome, path, console->Link.End());
        work.Outcome = OutcomeOf(outcome, path, console->Link.End());
        if (outcome.ok()) work.Result.insert(QStringLiteral("File"), path);
        if (outcome.Result == CopyResult::Timeout)
            console->PrintFailure(work.Err, message.Text);
        else
            (outcome.ok() ? work.Out : work.Err) << message.Text << "\n";
        return outcome.ok() ? ExitOk : ExitFailed;
    };
    return RunOnPorts(ports, in, importOne);
}

int RunBackup(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const QStringList files = in.Args.positionalArguments();
    const bool toFolder = in.Args.isSet(QStringLiteral("out-dir")) || ports.size() > 1;
    if (files.isEmpty() == !toFolder) {
        in.Err << "Give FILE.ini for one port, or --out-dir DIR for PORT.ini files\n"
               << UsageLine(*FindCommand(QStringLiteral("backup"))) << "\n";
        return ExitUsage;
    }
    if (!toFolder) return RunImport(in, ports, [&files](const QString&) { return files.first(); });
    const QString folder = OutputFolder(in.Args.value(QStringLiteral("out-dir")), in.Err);
    if (folder.isEmpty()) return ExitFailed;
    return RunImport(in, ports, [folder](const QString& port) {
        return QDir(folder).filePath(PortFileStem(port) + QStringLiteral(".ini"));
    });
}

int RunRestore(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const QString file = in.Args.positionalArguments().first();
    const bool allowIncomplete = in.Args.isSet(QStringLiteral("allow-incomplete"));
    // A file that cannot be written is refused before any port is opened.
    EepromImage image;
    if (const CopyOutcome checked = CheckBackupToWrite(file, allowIncomplete, image);
        !checked.ok()) {
        if (checked.Result == CopyResult::FileTypeError && ReadConfigFile(file).ok())
            in.Err << file
                   << " is a configuration file, not an EEPROM backup: write it with "
                      "kv9052r-cli apply.\n";
        else
            in.Err << CopyOutcomeMessage(CopyDirection::Export, checked, file).Text << "\n";
        return ExitUsage;  // nothing was sent: the file is what is wrong
    }
    const QString backupFolder = BackupFolderOf(in.Args);
    in.Result.Writes = true;
    const auto restoreOne = [&](PortWork& work) {
        auto console = OpenCliConsole(work.Port, work.Console, work.Err);
        if (!console) return ExitFailed;
        const RestoreOptions options{
            allowIncomplete, backupFolder, PortFileStem(work.Port),
            work.Report(QStringLiteral("writing the EEPROM"), CopyProgressMaximum),
            [&work](const QString& path) { work.Tell(BackupKeptText(path)); }};
        const RestoreOutcome outcome = RestoreBackup(console->Link, image, options);
        work.Outcome = OutcomeOf(outcome, file, console->Link.End());
        if (outcome.Copy.ok()) {
            work.Out << RestoreOutcomeText(outcome, file, work.Port) << "\n";
            return ExitOk;
        }
        if (console->Link.End().Kind != LinkEnd::Stopped) {
            console->PrintFailure(
                work.Err, RestoreOutcomeText(outcome, file, work.Port, console->Link.End()));
            return ExitFailed;
        }
        work.Err << StoppedText() << "\n";
        return PrintWriteState(work, outcome.State, outcome.BackupPath);
    };
    return RunOnPorts(ports, in, restoreOne);
}

const bool backupRegistered = RegisterCommand(
    {"backup",
     "--port P FILE.ini | --port P [--port P...] --out-dir DIR",
     "copy the EEPROM's configuration blocks into a backup file (PORT.ini with --out-dir)",
     {PortOption(), QuietOption(), OutDirOption()},
     {{"FILE.ini", "The backup file, for one port without --out-dir.", true}},
     RunBackup});

const bool restoreRegistered =
    RegisterCommand({"restore",
                     "--port P [--port P...] [--allow-incomplete] [--backup-dir DIR | "
                     "--no-backup] FILE.ini",
                     "write a backup file's blocks into the gateway's EEPROM",
                     {PortOption(),
                      QuietOption(),
                      {"allow-incomplete",
                       QStringLiteral("Write a file that lacks blocks, keys or byte pairs; what "
                                      "it lacks is written as 0.")},
                      BackupOptions()[0],
                      BackupOptions()[1]},
                     {{"FILE.ini", "The backup file."}},
                     RunRestore});

}  // namespace
}  // namespace kv::cli
