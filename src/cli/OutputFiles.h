#pragma once
// Where a command writes what it made for a port, and writing it.

#include <QByteArray>
#include <QString>
#include <QTextStream>

namespace kv::cli {

// The folder of --out-dir, the current folder when it is not given; created when missing.
// Prints why to `err` and returns an empty string when it cannot be made.
QString OutputFolder(const QString& outDir, QTextStream& err);

// Replaces `path` with `bytes`; prints why to `err` when it cannot.
bool WriteOutputFile(const QString& path, const QByteArray& bytes, QTextStream& err);

}  // namespace kv::cli
