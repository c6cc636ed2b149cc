#pragma once
// Writing a backup file into a gateway's EEPROM with a way back: the file is checked whole
// first, then the gateway is read and its configuration kept as a configuration file,
// and only then is a byte written.

#include <QString>
#include <functional>

#include "backup/EepromCopy.h"
#include "save/ApplyConfiguration.h"

namespace kv {

struct RestoreOptions {
    bool AllowIncomplete = false;  // write what the file lacks as 0
    QString BackupFolder;          // empty: no backup is kept and the gateway is not read
    QString PortName;              // names the backup
    ProgressFn Progress;           // the write's progress, 1..CopyProgressMaximum
    // Told the backup's path as soon as it is written, before the write begins.
    std::function<void(const QString& path)> BackupKept;
};

struct RestoreOutcome {
    CopyOutcome Copy;
    QString BackupPath;  // the configuration kept before the write, if any
    // What became of the gateway: partly written only once a byte went out.
    ApplyState State = ApplyState::NotWritten;
};

RestoreOutcome RestoreBackup(ConsoleLink& link, const QString& path, const RestoreOptions& options);
// The same for the blocks of a file already checked with CheckBackupToWrite.
RestoreOutcome RestoreBackup(ConsoleLink& link, const EepromImage& image,
                             const RestoreOptions& options);

// What the user is told at the end: the copy's own message, what became of the gateway,
// and the backup to apply to `port` when the write stopped half-way.
QString RestoreOutcomeText(const RestoreOutcome& outcome, const QString& path, const QString& port,
                           const LinkEndState& end = {});

}  // namespace kv
