#include "platform/LimitedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace kv {

namespace {

// "-", /dev/stdin and a shell's <(...) name pipes.
bool IsPipe(const QString& path) {
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

}  // namespace

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
    // Opened without waiting for a writer: a named pipe that nobody writes to then reads as
    // empty instead of blocking for ever.
    const int descriptor = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (descriptor < 0) return QString::fromLocal8Bit(strerror(errno));
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);
        return file.errorString();
    }
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
