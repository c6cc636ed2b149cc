#include "platform/WholeFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kv {

QString TargetNotRegular(const QString& path) {
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) return QStringLiteral("is not a regular file");
    return {};
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (const QString refused = TargetNotRegular(path); !refused.isEmpty()) return refused;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace kv
