#pragma once
// What a command is run with and what it returns: its parsed words, the program's output
// streams, the settings of every console it opens, and the exit status.

#include <QCommandLineParser>
#include <QTextStream>

#include "cli/TraceFile.h"

namespace kv::cli {

// The exit statuses of every command, one rule for all.
inline constexpr int ExitOk = 0;  // done (diff: the two are equal)
// The operation failed at a gateway or a port (one that does not exist or does not open
// included), or an output file could not be written (diff: the two differ).
inline constexpr int ExitFailed = 1;
// Bad usage, or an input that cannot be read or parsed, whatever its kind: JSON, CSV, backup.
inline constexpr int ExitUsage = 2;

// What every console of one run is opened with.
struct ConsoleSettings {
    // --reply-timeout (0: the console's own time-outs).
    int UserReplyTimeoutMs = 0;
    // --trace: every console adds its exchange when it closes.
    TraceFile& Trace;
};

struct Invocation {
    const QCommandLineParser& Args;
    QTextStream& Out;
    QTextStream& Err;
    ConsoleSettings Console;
};

}  // namespace kv::cli
