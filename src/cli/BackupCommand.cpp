// `backup --port P FILE.ini` and `restore --port P FILE.ini`: the EEPROM copy of the
// window "Import/Export EEPROM", with the same sequences and messages. backup takes
// more than one port with --out-dir and writes PORT.ini for each.

#include <QDir>
#include <functional>

#include "backup/CopyMessages.h"
#include "backup/EepromCopy.h"
#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortJobs.h"

namespace kv::cli {
namespace {

using CopyFn = std::function<CopyOutcome(ConsoleLink&, const QString&, const ProgressFn&)>;

// The file of each port: the one given, or PORT.ini in the output folder.
using PathFn = std::function<QString(const QString& port)>;

int RunCopy(CopyDirection direction, CopyFn copy, const Invocation& in, const QStringList& ports,
            const PathFn& pathOf) {
    const QString doing = direction == CopyDirection::Import ? QStringLiteral("reading the EEPROM")
                                                             : QStringLiteral("writing the EEPROM");
    const auto copyOne = [&](PortWork& work) {
        auto console = OpenCliConsole(work.Port, work.Err);
        if (!console) return ExitFailed;
        const QString path = pathOf(work.Port);
        const CopyOutcome outcome =
            copy(console->Link, path, work.Report(doing, CopyProgressMaximum));
        const CopyMessage message = CopyOutcomeMessage(direction, outcome, path);
        (outcome.ok() ? work.Out : work.Err) << message.Text << "\n";
        if (outcome.Result == CopyResult::Timeout) console->PrintLastExchange(work.Err);
        return outcome.ok() ? ExitOk : ExitFailed;
    };
    return RunOnPorts(ports, in.Args, copyOne, in.Out, in.Err);
}

int RunBackup(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (ports.isEmpty()) return NoPortGiven(in.Err);
    const QStringList files = in.Args.positionalArguments();
    const bool toFolder = in.Args.isSet(QStringLiteral("out-dir")) || ports.size() > 1;
    if (files.isEmpty() == !toFolder) {
        in.Err << "Give FILE.ini for one port, or --out-dir DIR for PORT.ini files\n"
               << UsageLine(*FindCommand(QStringLiteral("backup"))) << "\n";
        return ExitUsage;
    }
    if (!toFolder)
        return RunCopy(CopyDirection::Import, ImportToIni, in, ports,
                       [&files](const QString&) { return files.first(); });
    const QString folder = OutputFolder(in.Args.value(QStringLiteral("out-dir")), in.Err);
    if (folder.isEmpty()) return ExitFailed;
    return RunCopy(CopyDirection::Import, ImportToIni, in, ports, [folder](const QString& port) {
        return QDir(folder).filePath(PortFileStem(port) + QStringLiteral(".ini"));
    });
}

int RunRestore(const Invocation& in) {
    const QStringList ports = PortsOf(in.Args);
    if (ports.isEmpty()) return NoPortGiven(in.Err);
    const QString file = in.Args.positionalArguments().first();
    const bool allowIncomplete = in.Args.isSet(QStringLiteral("allow-incomplete"));
    const CopyFn restore = [allowIncomplete](ConsoleLink& link, const QString& path,
                                             const ProgressFn& progress) {
        return ExportToEeprom(link, path, progress, allowIncomplete);
    };
    return RunCopy(CopyDirection::Export, restore, in, ports,
                   [&file](const QString&) { return file; });
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
                     "--port P [--port P...] [--allow-incomplete] FILE.ini",
                     "write a backup file's blocks into the gateway's EEPROM",
                     {PortOption(),
                      QuietOption(),
                      {"allow-incomplete",
                       QStringLiteral("Write a file that lacks blocks, keys or byte pairs; what "
                                      "it lacks is written as 0.")}},
                     {{"FILE.ini", "The backup file."}},
                     RunRestore});

}  // namespace
}  // namespace kv::cli
