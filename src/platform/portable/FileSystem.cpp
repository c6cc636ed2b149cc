#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace kv {

// Left to the system, whose own flush takes no POSIX descriptor.
QString SyncToDisk(int) { return {}; }

// Files there have no owner that a write of the superuser would change.
QString KeepOwner(int, const QString&) { return {}; }

// The system's COM names ignore letter case, as do its file names.
QString FileIdentity(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUpper();
}

bool IsCharacterDevice(const QString& path) { return QFileInfo::exists(path); }

QString UserSuffix() { return qEnvironmentVariable("USERNAME"); }

}  // namespace kv
