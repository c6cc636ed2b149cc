#include "cli/OutputFiles.h"

#include <QDir>

#include "platform/WholeFile.h"

namespace kv::cli {

QString OutputFolder(const QString& outDir, QTextStream& err) {
    const QString folder = outDir.isEmpty() ? QDir::currentPath() : outDir;
    const QString failed = MakeFolder(folder);
    if (failed.isEmpty()) return folder;
    err << "Can't make the folder " << folder << ": " << failed << "\n";
    return {};
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes, QTextStream& err) {
    const QString failed = WriteWholeFile(path, bytes);
    if (failed.isEmpty()) return true;
    err << "Can't write " << path << ": " << failed << "\n";
    return false;
}

}  // namespace kv::cli
