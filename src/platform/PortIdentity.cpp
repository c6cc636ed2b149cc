#include "platform/PortIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>

#include "platform/NetworkAddress.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace kv {
namespace {

QString NetworkIdentity(const NetworkAddress& address) {
    const QHostAddress ip(address.Host);
    const QString host = ip.isNull() ? address.Host.toLower() : ip.toString();
    return QStringLiteral("net %1 %2").arg(host).arg(address.Port);
}

// A device node by the device it opens; another file by the file it is, so that names that
// differ only where the file system ignores it (letter case) are one.
QString FileIdentity(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISCHR(info.st_mode)) return QStringLiteral("device %1").arg(qulonglong(info.st_rdev));
        return QStringLiteral("file %1 %2")
            .arg(qulonglong(info.st_dev))
            .arg(qulonglong(info.st_ino));
    }
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#else
    // The system's COM names ignore letter case, as do its file names.
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUpper();
#endif
}

}  // namespace

QString PortIdentity(const QString& deviceOrAddress) {
    if (LooksLikeNetworkAddress(deviceOrAddress)) {
        QString error;
        if (const auto address = ParseNetworkAddress(deviceOrAddress, error))
            return NetworkIdentity(*address);
        return deviceOrAddress;
    }
    return FileIdentity(deviceOrAddress);
}

}  // namespace kv
