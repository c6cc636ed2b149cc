#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace kv {
namespace {

QString SystemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

QString SyncToDisk(int handle) { return ::fsync(handle) == 0 ? QString() : SystemReason(); }

// Otherwise the file becomes root's and its owner loses access. (The permissions are
// carried over by the temporary file already.)
QString KeepOwner(int handle, const QString& path) {
    struct stat old {};
    if (::geteuid() != 0 || ::stat(QFile::encodeName(path).constData(), &old) != 0) return {};
    if (::fchown(handle, old.st_uid, old.st_gid) != 0) return SystemReason();
    return {};
}

QString FileIdentity(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISCHR(info.st_mode)) return QStringLiteral("device %1").arg(qulonglong(info.st_rdev));
        return QStringLiteral("file %1 %2")
            .arg(qulonglong(info.st_dev))
            .arg(qulonglong(info.st_ino));
    }
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool IsCharacterDevice(const QString& path) {
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

QString UserSuffix() { return QString::number(getuid()); }

}  // namespace kv
