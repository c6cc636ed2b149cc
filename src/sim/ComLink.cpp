#include "sim/ComLink.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/PortNaming.h"

namespace kv::sim {

bool ComLink::Publish(int number, const QString& device, QString& error) {
    const QString path = ComLinkPath(number);
    const QFileInfo existing(path);
    if (!QDir().mkpath(existing.absolutePath())) {
        error = "Cannot create the port folder " + existing.absolutePath();
        return false;
    }
    const QString target = existing.symLinkTarget();
    if (existing.isSymLink() && QFileInfo::exists(target) && target != device) {
        error = QStringLiteral("COM %1 is already taken: %2 points to %3")
                    .arg(number)
                    .arg(path, target);
        return false;
    }
    if (existing.exists() && !existing.isSymLink()) {
        error = path + " exists and is not a link";
        return false;
    }
    // Made beside the final name and renamed over it, so that the name never points
    // nowhere while a stale link is replaced.
    const QByteArray fresh = QFile::encodeName(path + ".new." + QString::number(getpid()));
    unlink(fresh.constData());
    if (symlink(QFile::encodeName(device).constData(), fresh.constData()) != 0 ||
        std::rename(fresh.constData(), QFile::encodeName(path).constData()) != 0) {
        error = QStringLiteral("Cannot create %1: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        unlink(fresh.constData());
        return false;
    }
    path_ = path;
    device_ = device;
    return true;
}

void ComLink::Remove() {
    if (path_.isEmpty()) return;
    if (QFileInfo(path_).symLinkTarget() == device_) QFile::remove(path_);
    path_.clear();
}

}  // namespace kv::sim
