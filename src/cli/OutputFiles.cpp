#include "cli/OutputFiles.h"

#include <QDir>
#include <QSaveFile>

namespace kv::cli {

QString OutputFolder(const QString& outDir, QTextStream& err) {
    const QString folder = outDir.isEmpty() ? QDir::currentPath() : outDir;
    if (QDir().mkpath(folder)) return folder;
    err << "Can't make the folder " << folder << "\n";
    return {};
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes, QTextStream& err) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    err << "Can't write " << path << ": " << file.errorString() << "\n";
    return false;
}

}  // namespace kv::cli
