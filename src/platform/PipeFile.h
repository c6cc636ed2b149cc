#pragma once
// Named pipes as input files ("-", /dev/stdin, a shell's <(...)), in the platform's way
// (posix/PipeFile.cpp, portable/PipeFile.cpp).

#include <QFile>
#include <QString>

namespace kv {

bool IsPipe(const QString& path);
// Opens the pipe at `path` into `file` without waiting for a writer: a named pipe that
// nobody writes to then reads as empty instead of blocking for ever. The system's reason
// when it does not open, else empty.
QString OpenPipeWithoutWaiting(const QString& path, QFile& file);

}  // namespace kv
