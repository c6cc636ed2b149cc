#include "backup/RestoreBackup.h"

#include "backup/CopyMessages.h"
#include "console/ReadOut.h"
#include "save/ApplyConfiguration.h"
#include "save/BackupBeforeWrite.h"

namespace kv {
namespace {

// With a backup, its read takes the first fifth of the progress and the write the rest.
constexpr int BackupReadShare = CopyProgressMaximum / 5;

CopyOutcome KeepGatewayConfiguration(ConsoleLink& link, const RestoreOptions& options,
                                     QString& backupPath) {
    GatewayConfig config;
    const ProgressFn progress =
        ProgressStage(options.Progress, 0, BackupReadShare, 0, ReadOutProgressMaximum);
    if (const ReadOutResult read = ReadGateway(link, config, progress); read != ReadOutResult::Ok)
        return {CopyResult::NoBackupKept,
                QStringLiteral("The gateway could not be read for a backup: %1")
                    .arg(ReadOutFailureText(read, link.End()))};
    const KeptBackup kept = KeepBackup(options.BackupFolder, config, options.PortName);
    if (!kept.ok()) return {CopyResult::NoBackupKept, kept.Error};
    backupPath = kept.Path;
    if (options.BackupKept) options.BackupKept(kept.Path);
    return {};
}

}  // namespace

RestoreOutcome RestoreBackup(ConsoleLink& link, const QString& path,
                             const RestoreOptions& options) {
    EepromImage image;
    const CopyOutcome checked = CheckBackupToWrite(path, options.AllowIncomplete, image);
    if (!checked.ok()) return {checked, {}};
    return RestoreBackup(link, image, options);
}

RestoreOutcome RestoreBackup(ConsoleLink& link, const EepromImage& image,
                             const RestoreOptions& options) {
    RestoreOutcome outcome;
    ProgressFn writeProgress = options.Progress;
    if (!options.BackupFolder.isEmpty()) {
        outcome.Copy = KeepGatewayConfiguration(link, options, outcome.BackupPath);
        if (!outcome.Copy.ok()) return outcome;
        writeProgress = ProgressStage(options.Progress, BackupReadShare, CopyProgressMaximum, 0,
                                      CopyProgressMaximum);
    }
    outcome.Copy = WriteBlocksToEeprom(link, image, writeProgress);
    outcome.State = outcome.Copy.ok() ? ApplyState::WrittenNotVerified : StateAfterEndedWrite(link);
    return outcome;
}

QString RestoreOutcomeText(const RestoreOutcome& outcome, const QString& path, const QString& port,
                           const LinkEndState& end) {
    QString text = CopyOutcomeMessage(CopyDirection::Export, outcome.Copy, path, end).Text;
    if (outcome.Copy.ok()) return text;
    // Refusals before anything was sent already say so in the window's words.
    const bool saysNothingWritten = outcome.Copy.Result == CopyResult::NoBackupKept ||
                                    outcome.Copy.Result == CopyResult::IncompleteFile;
    if (outcome.State == ApplyState::NotWritten)
        return saysNothingWritten ? text : text + u'\n' + ApplyStateText(ApplyState::NotWritten);
    return text + u'\n' + GatewayStateText(outcome.State, outcome.BackupPath, port);
}

}  // namespace kv
