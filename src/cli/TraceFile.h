#pragma once
// `--trace FILE`: the exchange of every console the command used, written whole when the
// command ends.

#include <QString>

namespace kv::cli {

// Empty: no trace is kept.
void SetTraceFile(const QString& path);
bool TraceWanted();
// Adds the trace of the console on `port`; safe from the threads of many ports.
void AddTrace(const QString& port, const QString& text);
// Writes the file; empty on success, else the reason.
QString WriteTraceFile();

}  // namespace kv::cli
