// `apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify]
// [--dry-run] [--full-write]`: merges a JSON configuration into the gateway's own, checks it as
// the windows do, writes what differs from the gateway's (--full-write: all, as the save window
// does), writes the EDS file and reads the gateway back to compare.
// With --dry-run it only lists the fields the write would change. With more than one port
// each gateway gets the file and its EDS file goes into DIR/PORT/.

#include <QDir>
#include <QHash>
#include <QMap>
#include <algorithm>
#include <variant>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "cli/PortTable.h"
#include "config/ConfigFile.h"
#include "config/Inventory.h"
#include "platform/LimitedFile.h"
#include "platform/PortNaming.h"
#include "save/ApplyConfiguration.h"
#include "save/ApplyPlan.h"
#include "save/BackupBeforeWrite.h"
#include "save/ConfigChanges.h"
#include "save/OutcomeOf.h"
#include "save/ResultEntry.h"
#include "save/SaveConfiguration.h"

namespace kv::cli {
namespace {

// What each port is given: the file, or the file with the port's row of the inventory.
struct PortFiles {
    QStringList Ports;
    QHash<QString, QJsonObject> Json;  // by port as named
    bool PerPort = false;              // more than one port, or values of their own
};

bool ReadInventoryFile(const QString& path, InventoryRead& inventory, QTextStream& err) {
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes); !failure.isEmpty()) {
        err << path << ": " << failure << "\nNothing was written.\n";
        return false;
    }
    inventory = ReadInventory(bytes, PortKey);
    for (const QString& error : inventory.Errors) err << path << ": " << error << "\n";
    if (!inventory.ok()) err << "Nothing was written.\n";
    return inventory.ok();
}

// A node ID or IP address that the file gives more than one gateway, from a run without an
// inventory or from the inventory's empty cells, is refused unless --same-addresses says the
// gateways sit apart. Returns false when it is refused.
bool AddressesAreOwn(const Invocation& in, const QJsonObject& json, const QList<InventoryRow>& rows,
                     const QString& inventoryPath) {
    const QList<SharedAddress> shared = SharedAddresses(json, rows);
    if (shared.isEmpty() || in.Args.isSet(QStringLiteral("same-addresses"))) return true;
    QMap<int, QStringList> keysByGateways;
    QStringList columns;
    for (const SharedAddress& address : shared) {
        keysByGateways[address.Gateways].append(address.Key);
        columns.append(address.Column);
    }
    QStringList parts;
    for (auto it = keysByGateways.cbegin(); it != keysByGateways.cend(); ++it)
        parts.append(QStringLiteral("%1: %2 gateways would share it")
                         .arg(it.value().join(QStringLiteral(" and ")))
                         .arg(it.key()));
    const QString own =
        inventoryPath.isEmpty()
            ? QStringLiteral("with --inventory FILE.csv (columns Port, NodeId, Ip, ...)")
            : QStringLiteral("in the %1 cells of %2")
                  .arg(columns.join(QStringLiteral(" and ")), inventoryPath);
    in.Err << QStringLiteral(
                  "The file sets %1. Give each gateway its own %2, or "
                  "--same-addresses when the gateways sit on separate networks.\n")
                  .arg(parts.join(QStringLiteral("; ")), own);
    return false;
}

// The ports and their files, or a usage status when they cannot be made.
std::variant<PortFiles, int> FilesForPorts(const Invocation& in, const QJsonObject& json) {
    PortFiles files{PortsOf(in.Args), {}};
    const QString inventoryPath = in.Args.value(QStringLiteral("inventory"));
    QList<InventoryRow> rows;  // of the ports to write
    if (inventoryPath.isEmpty()) {
        for (const QString& port : files.Ports) rows.append({0, port, {}, {}});
        files.PerPort = files.Ports.size() > 1;
    } else {
        InventoryRead inventory;
        if (!ReadInventoryFile(inventoryPath, inventory, in.Err)) return ExitUsage;
        files.PerPort = true;
        QHash<QString, InventoryRow> byPort;
        for (const InventoryRow& row : inventory.Rows) byPort.insert(row.PortKey, row);
        if (files.Ports.isEmpty()) {
            rows = inventory.Rows;
            for (const InventoryRow& row : rows) files.Ports.append(row.Port);
        }
        for (qsizetype i = rows.size(); i < files.Ports.size(); ++i) {
            const auto row = byPort.constFind(PortKey(files.Ports[i]));
            if (row == byPort.constEnd()) {
                in.Err << files.Ports[i] << " is not in " << inventoryPath
                       << ": nothing was written.\n";
                return ExitUsage;
            }
            rows.append(*row);
        }
    }
    // One port named twice is refused as such, before what the two would share.
    if (const int unusable = CheckPorts(files.Ports, in.Err)) return unusable;
    if (!AddressesAreOwn(in, json, rows, inventoryPath)) return ExitUsage;
    for (qsizetype i = 0; i < files.Ports.size(); ++i)
        files.Json.insert(files.Ports[i], WithInventoryRow(json, rows[i]));
    return files;
}

// The fields of a port's entry in the result document that only apply has.
QJsonObject ApplyResultFields(const ApplyOutcome& outcome) {
    QJsonObject fields{{QStringLiteral("Warnings"), FindingsEntry(outcome.Warnings)}};
    if (outcome.Refused) fields.insert(QStringLiteral("Problems"), FindingsEntry(outcome.Errors));
    // Known once the file is merged into what the gateway holds.
    if (outcome.NodeId.isEmpty()) return fields;
    fields.insert(QStringLiteral("NodeId"), outcome.NodeId.toInt());
    fields.insert(QStringLiteral("Ip"), outcome.Ip);
    fields.insert(QStringLiteral("Changes"), ChangesEntry(outcome.Changes));
    return fields;
}

// What a dry run found: the fields a write changes, or why it writes with none.
QString DryRunText(const ApplyOutcome& outcome, bool fullWrite) {
    if (!outcome.Changes.isEmpty()) return FieldChangeTexts(outcome.Changes).join(u'\n');
    if (outcome.NothingToChange) return QString::fromLatin1(NoChangesText);
    return QString::fromLatin1(fullWrite ? FullWriteWithoutChangesText : OnlyDerivedChangesText);
}

int RunApply(const Invocation& in) {
    const ConfigFileRead file = ReadConfigFile(in.Args.positionalArguments().first());
    if (!file.ok()) {
        in.Err << file.Error << "\n";
        return ExitUsage;
    }
    const auto made = FilesForPorts(in, file.Json);
    if (const int* status = std::get_if<int>(&made)) return *status;
    const PortFiles& files = std::get<PortFiles>(made);
    const QStringList& ports = files.Ports;
    const bool dryRun = in.Args.isSet(QStringLiteral("dry-run"));
    in.Result.Writes = true;  // a dry run says that it wrote nothing
    // A file that cannot be written is refused before any port is opened: every port, each
    // with the problems of its own file.
    QList<QStringList> problems;
    for (const QString& port : ports)
        problems.append(FileProblems(files.Json.value(port), {file.Numbers}));
    const auto refusing = std::find_if(problems.cbegin(), problems.cend(),
                                       [](const QStringList& found) { return !found.isEmpty(); });
    if (refusing != problems.cend()) {
        const QString port = ports[refusing - problems.cbegin()];
        for (const QString& problem : *refusing)
            in.Err << (files.PerPort ? port + QStringLiteral(": ") : QString()) << problem << "\n";
        in.Err << ApplyStateText(ApplyOutcome{}) << "\n";
        for (qsizetype i = 0; i < ports.size(); ++i)
            in.Result.AddRefusedPort(
                ports[i], (problems[i] + QStringList{ApplyStateText(ApplyOutcome{})}).join(u'\n'),
                {{QStringLiteral("Problems"), FindingsEntry(problems[i])}});
        return ExitProblems;
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
        options.DryRun = dryRun;
        options.Strict = in.Args.isSet(QStringLiteral("strict"));
        options.FullWrite = in.Args.isSet(QStringLiteral("full-write"));
        options.BackupFolder = BackupFolderOf(in.Args);
        options.PortName = PortFileStem(work.Port);
        options.BackupKept = [&work](const QString& path) { work.Tell(BackupKeptText(path)); };
        auto console = OpenCliConsole(work.Port, work.Console, work.Err);
        if (!console) return ExitFailed;
        const ApplyOutcome outcome =
            ApplyConfiguration(console->Link, files.Json.value(work.Port), options);
        // A port that failed before its write holds its own node ID and IP address, not these.
        if (outcome.Written || (options.DryRun && outcome.Ok))
            work.Columns = {{QStringLiteral("NODE"), outcome.NodeId},
                            {QStringLiteral("IP"), outcome.Ip}};
        work.Outcome = OutcomeOf(outcome, console->Link.End());
        work.Result = ApplyResultFields(outcome);

        for (const QString& warning : outcome.Warnings) work.Warn(warning);
        if (options.DryRun && outcome.Ok) {
            work.Out << DryRunText(outcome, options.FullWrite) << "\n";
            return outcome.NothingToChange ? ExitOk : ExitFindings;
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
        const int status = PrintWriteState(
            work, outcome.State, outcome.BackupPath,
            console->Link.End().Kind == LinkEnd::Stopped ? QString() : ApplyStateText(outcome));
        return outcome.Refused ? ExitProblems : status;
    };
    return RunOnPorts(ports, in, applyOne);
}

const bool registered = RegisterCommand(
    {"apply",
     "--port P [--port P...] FILE.json [--inventory FILE.csv | --same-addresses] "
     "[--eds-dir DIR] [--description T] [--created-by T] [--no-verify] [--dry-run] [--strict] "
     "[--full-write] "
     "[--backup-dir DIR | --no-backup]",
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
      {"full-write",
       QStringLiteral("Rewrite every EEPROM block and Ethernet setting, not only those whose "
                      "values differ from the gateway's.")},
      {"strict",
       QStringLiteral("Refuse a configuration that cannot work as meant (what check warns "
                      "of) instead of warning and writing it.")},
      {"inventory",
       QStringLiteral("Per-gateway values: a CSV table with the column Port and any of NodeId, "
                      "BaudIndex, Ip, Mask, Gateway; each row's values replace the file's for "
                      "that port. Without --port every port of the table is written."),
       QStringLiteral("FILE.csv")},
      {"same-addresses",
       QStringLiteral("Write the file's node ID and IP address to every port as they are "
                      "(gateways on separate networks).")},
      BackupOptions()[0],
      BackupOptions()[1]},
     {{"FILE.json", "A configuration as read --json prints it; only the keys it holds change."}},
     RunApply});

}  // namespace
}  // namespace kv::cli
