#include "eds/EdsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/WholeFile.h"

namespace kv {

QString EdsFileName(uint8_t nodeId) { return QStringLiteral("KV-9052R_ %1.eds").arg(nodeId); }

QStringList DefaultEdsFolders() {
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)};
}

EdsFileResult WriteEdsFile(const QStringList& folders, const GatewayConfig& config,
                           const ConnectionPaths& pollPaths, const EdsInfoTexts& info,
                           const QDateTime& moment) {
    // The file is in the system's 8-bit code page; everything but the user's texts is ASCII.
    const QByteArray bytes = EdsText(config, pollPaths, info, moment).toLocal8Bit();
    const QString name = EdsFileName(config.DeviceNetParams.NodeId);
    EdsFileResult result;
    result.ErrorText = QStringLiteral("No folder to write %1 to").arg(name);
    for (const QString& folder : folders) {
        if (folder.isEmpty() || !QDir().mkpath(folder)) continue;
        const QString path = QDir(folder).filePath(name);
        const QString failure = WriteWholeFile(path, bytes);
        if (failure.isEmpty()) return {true, QDir::toNativeSeparators(path), {}};
        result.ErrorText = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), failure);
    }
    return result;
}

}  // namespace kv
