#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace kv {
namespace {

// Callers take an empty text for success, so a failure without the system's words still
// says something.
QString Reason(const QString& text) {
    return text.isEmpty() ? QStringLiteral("the write failed") : text;
}

}  // namespace

QString MakeFolder(const QString& path) {
    // QDir::mkpath says only that it failed; the user needs to know why.
    if (QFileInfo::exists(path) && !QFileInfo(path).isDir())
        return QStringLiteral("a file of that name is in the way");
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    return error ? QString::fromLocal8Bit(error.message()) : QString();
}

QString TargetNotRegular(const QString& path) {
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) return QStringLiteral("is not a regular file");
    return {};
}

WholeFileWriter::WholeFileWriter(const QString& path) : file_(path) {}

QString WholeFileWriter::Open() {
    if (const QString refused = TargetNotRegular(file_.fileName()); !refused.isEmpty())
        return refused;
    // Unbuffered: each write reaches the system at once and its error is seen here, not
    // lost in the flush that closing does.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Reason(file_.errorString());
    return {};
}

QString WholeFileWriter::Commit(const QByteArray& bytes) {
    // A write may stop short (the disk filled up); the next one tells why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file_.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return Fail(file_.errorString());
        done += written;
    }
    if (!file_.flush()) return Fail(file_.errorString());
    if (const QString failed = KeepOwner(file_.handle(), file_.fileName()); !failed.isEmpty())
        return Fail(failed);
    if (const QString failed = SyncToDisk(file_.handle()); !failed.isEmpty()) return Fail(failed);
    if (!file_.commit()) return Reason(file_.errorString());
    return {};
}

QString WholeFileWriter::Fail(const QString& reason) {
    file_.cancelWriting();
    file_.commit();  // after the cancel, drops the temporary file and keeps `path`
    return Reason(reason);
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    WholeFileWriter file(path);
    if (QString failed = file.Open(); !failed.isEmpty()) return failed;
    return file.Commit(bytes);
}

}  // namespace kv
