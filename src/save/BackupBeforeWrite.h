#pragma once
// A configuration kept before a write changes a gateway: what was last read from it, as a
// configuration file that `apply` takes back. A write that fails half-way then leaves a
// way back.

#include <QDateTime>
#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

// The newest this many backups are kept in the folder; older ones go. Other files in the
// folder are never removed.
inline constexpr int BackupsKept = 50;

// $XDG_DATA_HOME/kv9052r/backups (~/.local/share/kv9052r/backups).
QString DefaultBackupFolder();

struct KeptBackup {
    QString Path;   // the file written, on success
    QString Error;  // why none could be written
    bool ok() const { return Error.isEmpty(); }
};

// Writes `read` into `folder` as "<date>_<time>_node<N>_<port>.json" (for example
// "2026-12-07_14-03-22_node5_COM3.json"), whole or not at all, marked as a kept backup
// (ConfigBackupKey), then removes the port's oldest files of that name pattern beyond
// BackupsKept, never the one just written.
KeptBackup KeepBackup(const QString& folder, const GatewayConfig& read, const QString& portName,
                      const QDateTime& when = QDateTime::currentDateTime());

// The line that tells where the backup went, and the line a failed write adds: the command
// that gives the gateway on `port` ("COM3", a device path) back.
QString BackupKeptText(const QString& path);
QString RestoreFromBackupText(const QString& path, const QString& port);

}  // namespace kv
