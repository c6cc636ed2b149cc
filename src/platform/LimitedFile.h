#pragma once
// Reading a whole input file of bounded size. Only regular files are read: a folder, a
// device, a pipe or a socket is refused before anything is read from it, and the limit
// counts the bytes actually read, not the size the file system reports.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kv {

inline constexpr qint64 InputFileLimit = 1024 * 1024;

// Empty on success with the bytes in `bytes`, else the reason the file was not read.
QString ReadLimitedFile(const QString& path, QByteArray& bytes, qint64 limit = InputFileLimit);

// A file the user gives as input (a configuration, a table, a backup): also "-" for standard
// input and a pipe such as /dev/stdin or a shell's <(...). The same result.
QString ReadInputFile(const QString& path, QByteArray& bytes, qint64 limit = InputFileLimit);

// The rest of an open file, at most `limit` bytes; the same result.
QString ReadLimited(QFile& file, QByteArray& bytes, qint64 limit);

}  // namespace kv
