#include "platform/LimitedFile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/PipeFile.h"

namespace kv {

QString ReadLimitedFile(const QString& path, QByteArray& bytes, qint64 limit) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("no such file");
    if (info.isDir()) return QStringLiteral("is a folder, not a file");
    if (!info.isFile()) return QStringLiteral("is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    return ReadLimited(file, bytes, limit);
}

QString ReadInputFile(const QString& path, QByteArray& bytes, qint64 limit) {
    QFile file;
    if (path == u"-") {
        if (!file.open(stdin, QIODevice::ReadOnly)) return file.errorString();
        return ReadLimited(file, bytes, limit);
    }
    if (!IsPipe(path)) return ReadLimitedFile(path, bytes, limit);
    if (const QString failed = OpenPipeWithoutWaiting(path, file); !failed.isEmpty()) return failed;
    return ReadLimited(file, bytes, limit);
}

QString ReadLimited(QFile& file, QByteArray& bytes, qint64 limit) {
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
