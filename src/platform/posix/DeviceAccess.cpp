#include "platform/DeviceAccess.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/PortHolder.h"

namespace kv {
namespace {

bool MayReadAndWrite(const QString& device) {
    return access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

// The group whose members may read and write the device, empty when there is none.
QString AccessGroupOf(const QString& device) {
    struct stat info {};
    if (stat(QFile::encodeName(device).constData(), &info) != 0) return {};
    const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    if ((info.st_mode & groupReadWrite) != groupReadWrite) return {};
    const struct group* owner = getgrgid(info.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

QString PermissionHint(const QString& device) {
    const QString group = AccessGroupOf(device);
    if (group.isEmpty())
        return QStringLiteral("Ask the administrator for read and write access to %1.").arg(device);
    return QStringLiteral(
               "To use %1, add your user to the group \"%2\" (for example "
               "\"sudo usermod -aG %2 $USER\"), then log in again.")
        .arg(device, group);
}

}  // namespace

// The lock files and the device's access rights tell the two apart.
PortOpenResult PermissionRefused(const QString& device, const QString& systemText) {
    if (LockFileHolder(device).Pid > 0 || MayReadAndWrite(device))
        return {PortOpenError::InUse, systemText};
    return {PortOpenError::Other, systemText + u'\n' + PermissionHint(device)};
}

}  // namespace kv
