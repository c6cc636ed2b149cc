// Port holders as a POSIX system tells of them: lock files, /proc and flock.

#include "platform/PortHolder.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>

#include "platform/LimitedFile.h"

namespace kv {
namespace {

// Where serial-port programs, QSerialPort among them, put their "LCK..<name>" files.
QStringList LockFolders() {
    return {QStringLiteral("/var/lock"),
            QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"),
            QStringLiteral("/run/lock"),
            QDir::tempPath()};
}

bool IsProcessAlive(qint64 pid) { return pid > 0 && (kill(pid_t(pid), 0) == 0 || errno == EPERM); }

// Lock files name the device without "/dev/", with any further '/' as '_'.
QString LockFileName(const QString& device) {
    QString name = device;
    if (name.startsWith(u"/dev/")) name.remove(0, 5);
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

QString ProgramOf(qint64 pid) {
    QByteArray name;
    if (!ReadLimitedFile(QStringLiteral("/proc/%1/comm").arg(pid), name).isEmpty()) return {};
    return QString::fromLocal8Bit(name.trimmed());
}

// /proc/locks: "1: FLOCK  ADVISORY  WRITE 4242 00:05:1052 0 EOF", the file as its file
// system's major and minor number in hexadecimal and its inode. A record lock (POSIX)
// holds the port as well as a flock does.
qint64 LockHolderPid(const QString& device) {
    struct stat info {};
    if (stat(QFile::encodeName(device).constData(), &info) != 0) return 0;
    const QString file = QStringLiteral("%1:%2:%3")
                             .arg(major(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(minor(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(qulonglong(info.st_ino));
    QByteArray locks;
    if (!ReadLimitedFile(QStringLiteral("/proc/locks"), locks).isEmpty()) return 0;
    for (const QByteArray& line : locks.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 6 && (fields[1] == "FLOCK" || fields[1] == "POSIX") &&
            QString::fromLatin1(fields[5]) == file)
            return fields[4].toLongLong();
    }
    return 0;
}

}  // namespace

PortHolder LockFileHolder(const QString& device) {
    for (const QString& folder : LockFolders()) {
        const QLockFile lock(folder + u'/' + LockFileName(device));
        qint64 pid = 0;
        QString host;
        QString program;
        if (!lock.getLockInfo(&pid, &host, &program) || !IsProcessAlive(pid)) continue;
        // A lock of another machine (a shared folder) names a process that is not ours.
        if (!host.isEmpty() && host != QSysInfo::machineHostName()) continue;
        return {pid, program.isEmpty() ? ProgramOf(pid) : program};
    }
    return {};
}

PortHolder FindPortHolder(const QString& device) {
    const QString resolved = QFileInfo(device).canonicalFilePath();
    if (resolved.isEmpty()) return {};
    if (const PortHolder holder = LockFileHolder(resolved); holder.Pid > 0) return holder;
    if (const qint64 pid = LockHolderPid(resolved); pid > 0) return {pid, ProgramOf(pid)};
    return {};
}

}  // namespace kv
