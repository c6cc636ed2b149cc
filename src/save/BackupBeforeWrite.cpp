#include "save/BackupBeforeWrite.h"

#include <QDir>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>

#include "config/ConfigFile.h"
#include "platform/WholeFile.h"

namespace kv {

namespace {

// A port name made fit for a file name: "COM3", the device's own name for a path, or the
// host and port of a network address with '_' for each character a file name cannot hold, so
// that 192.168.1.11:4001 and 192.168.11.1:4001 stay apart.
QString PortPart(const QString& portName) {
    QString part = QFileInfo(portName).fileName();
    part.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return part.isEmpty() ? QStringLiteral("port") : part;
}

// The names start with the date and time, so that name order is age order. Only the
// program's own backups are pruned: the folder may be one of the user's, holding other files,
// and the one just written always stays. Each port keeps its own newest ones, so that a run
// over many gateways does not remove what it has just kept of the others.
void RemoveOldest(const QString& folder, const QString& written, const QString& portPart) {
    const QRegularExpression ownName(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}_node\\d{1,3}_%1(_\\d+)?\\.json$")
            .arg(QRegularExpression::escape(portPart)));
    QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::Reversed);
    qsizetype kept = 1;  // the one just written
    for (const QString& name : names) {
        if (name == written || !ownName.match(name).hasMatch()) continue;
        if (kept < BackupsKept)
            ++kept;
        else
            dir.remove(name);
    }
}

// A second backup of the same gateway within the same second must not replace the first,
// which may be the only copy of the configuration before both writes. "_2" sorts after the
// plain name, so name order stays age order.
QString FreeName(const QString& folder, const QString& stem) {
    QString name = stem + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(QDir(folder).filePath(name)); ++n)
        name = QStringLiteral("%1_%2.json").arg(stem).arg(n);
    return name;
}

}  // namespace

QString DefaultBackupFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kv9052r/backups");
}

KeptBackup KeepBackup(const QString& folder, const GatewayConfig& read, const QString& portName,
                      const QDateTime& when) {
    if (const QString failed = MakeFolder(folder); !failed.isEmpty())
        return {{}, QStringLiteral("Can't make the backup folder %1: %2.").arg(folder, failed)};
    const QString portPart = PortPart(portName);
    // Gateways are kept from many threads at once: a name found free stays free until written.
    static QMutex naming;
    const QMutexLocker locked(&naming);
    const QString name =
        FreeName(folder, QStringLiteral("%1_node%2_%3")
                             .arg(when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")))
                             .arg(read.DeviceNetParams.NodeId)
                             .arg(portPart));
    const QString path = QDir(folder).filePath(name);
    if (const QString failure = WriteWholeFile(path, KeptBackupText(read)); !failure.isEmpty())
        return {{}, QStringLiteral("Can't write the backup %1: %2").arg(path, failure)};
    RemoveOldest(folder, name, portPart);
    return {path, {}};
}

QString BackupKeptText(const QString& path) {
    return QStringLiteral("The gateway's configuration was kept in %1").arg(path);
}

QString RestoreFromBackupText(const QString& path, const QString& port) {
    return QStringLiteral("To get the earlier configuration back: kv9052r-cli apply --port %1 %2")
        .arg(port, path);
}

}  // namespace kv
