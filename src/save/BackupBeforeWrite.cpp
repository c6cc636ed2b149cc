#include "save/BackupBeforeWrite.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include "config/ConfigFile.h"
#include "platform/WholeFile.h"

namespace kv {

namespace {

// A port name made fit for a file name: "COM3", or the device's own name for a path.
QString PortPart(const QString& portName) {
    QString part = QFileInfo(portName).fileName();
    part.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return part.isEmpty() ? QStringLiteral("port") : part;
}

// The names start with the date and time, so that name order is age order.
void RemoveOldest(const QString& folder) {
    QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype k = BackupsKept; k < names.size(); ++k) dir.remove(names[k]);
}

}  // namespace

QString DefaultBackupFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kv9052r/backups");
}

KeptBackup KeepBackup(const QString& folder, const GatewayConfig& read, const QString& portName,
                      const QDateTime& when) {
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("Can't make the backup folder %1.").arg(folder)};
    const QString name = QStringLiteral("%1_node%2_%3.json")
                             .arg(when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")))
                             .arg(read.DeviceNetParams.NodeId)
                             .arg(PortPart(portName));
    const QString path = QDir(folder).filePath(name);
    if (const QString failure = WriteWholeFile(path, ConfigFileText(read)); !failure.isEmpty())
        return {{}, QStringLiteral("Can't write the backup %1: %2").arg(path, failure)};
    RemoveOldest(folder);
    return {path, {}};
}

QString BackupKeptText(const QString& path) {
    return QStringLiteral("The gateway's configuration was kept in %1").arg(path);
}

QString RestoreFromBackupText(const QString& path) {
    return QStringLiteral("To get the earlier configuration back: kv9052r-cli apply --port P %1")
        .arg(path);
}

}  // namespace kv
