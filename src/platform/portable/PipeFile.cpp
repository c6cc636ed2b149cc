#include "platform/PipeFile.h"

namespace kv {

// Without POSIX a path names no pipe that a shell made; standard input is "-".
bool IsPipe(const QString&) { return false; }

QString OpenPipeWithoutWaiting(const QString& path, QFile& file) {
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
}

}  // namespace kv
