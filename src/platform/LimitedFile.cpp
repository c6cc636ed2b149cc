#include "platform/LimitedFile.h"

#include <QFile>
#include <QFileInfo>

namespace kv {

QString ReadLimitedFile(const QString& path, QByteArray& bytes, qint64 limit) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("no such file");
    if (info.isDir()) return QStringLiteral("is a folder, not a file");
    if (!info.isFile()) return QStringLiteral("is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    QByteArray read;
    char chunk[65536];
    while (true) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0) return file.errorString();
        if (got == 0) break;
        read.append(chunk, got);
        if (read.size() > limit) return QStringLiteral("is larger than %1 bytes").arg(limit);
    }
    bytes = read;
    return {};
}

}  // namespace kv
