#include "backup/RestoreBackup.h"

#include "backup/CopyMessages.h"
#include "console/ReadOut.h"
#include "save/BackupBeforeWrite.h"

namespace kv {
namespace {

CopyOutcome KeepGatewayConfiguration(ConsoleLink& link, const RestoreOptions& options,
                                     QString& backupPath) {
    GatewayConfig config;
    if (const ReadOutResult read = ReadGateway(link, config, {}); read != ReadOutResult::Ok)
        return {CopyResult::NoBackupKept,
                QStringLiteral("The gateway could not be read for a backup: %1")
                    .arg(ReadOutFailureText(read))};
    const KeptBackup kept = KeepBackup(options.BackupFolder, config, options.PortName);
    if (!kept.ok()) return {CopyResult::NoBackupKept, kept.Error};
    backupPath = kept.Path;
    return {};
}

}  // namespace

RestoreOutcome RestoreBackup(ConsoleLink& link, const QString& path,
                             const RestoreOptions& options) {
    RestoreOutcome outcome;
    EepromImage image;
    outcome.Copy = CheckBackupToWrite(path, options.AllowIncomplete, image);
    if (!outcome.Copy.ok()) return outcome;
    if (!options.BackupFolder.isEmpty()) {
        outcome.Copy = KeepGatewayConfiguration(link, options, outcome.BackupPath);
        if (!outcome.Copy.ok()) return outcome;
    }
    outcome.Copy = WriteBlocksToEeprom(link, image, options.Progress);
    return outcome;
}

QString RestoreOutcomeText(const RestoreOutcome& outcome, const QString& path) {
    QString text = CopyOutcomeMessage(CopyDirection::Export, outcome.Copy, path).Text;
    if (!outcome.Copy.ok() && !outcome.BackupPath.isEmpty())
        text += u'\n' + RestoreFromBackupText(outcome.BackupPath);
    return text;
}

}  // namespace kv
