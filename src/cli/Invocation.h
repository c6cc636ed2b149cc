#pragma once
// What a command is run with and what it returns: its parsed words, the program's output
// streams, the settings of every console it opens, and the exit status.

#include <QCommandLineParser>
#include <QTextStream>

#include "cli/ResultDocument.h"
#include "cli/TraceFile.h"

namespace kv::cli {

// The exit statuses of every command, one rule in which no two outcomes share a number.
inline constexpr int ExitOk = 0;  // done; diff: equal; check: nothing found; dry run: no change
// The operation failed: a port that does not exist or does not open, a gateway that does not
// answer or is lost, an output file that cannot be written; for check, diff and a dry run
// also a side that cannot be read.
inline constexpr int ExitFailed = 1;
// Bad usage, or an input that cannot be read or parsed, whatever its kind: JSON, CSV, backup.
inline constexpr int ExitUsage = 2;
// Findings: diff found differences, check found warnings only, a dry run found changes.
inline constexpr int ExitFindings = 3;
// The configuration has problems and would be refused; nothing was written.
inline constexpr int ExitProblems = 4;

// The status of a run over many ports: the worst of its ports', in the order
// 2 > 1 > 4 > 3 > 0 (a failed port outweighs a refused configuration, which outweighs
// findings).
int WorseStatus(int a, int b);

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
    // --json: the document printed on Out once the command is done.
    ResultDocument& Result;

    // Where the command's text for people goes: Out, or Err when Out carries the document.
    QTextStream& Text() const { return Result.Wanted() ? Err : Out; }
};

}  // namespace kv::cli
