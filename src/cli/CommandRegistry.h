#pragma once
// The subcommands of kv9052r-cli. Each command's file registers itself with its options,
// so adding a command or an option touches only that command's file.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QTextStream>
#include <optional>

#include "cli/Invocation.h"

namespace kv::cli {

// Returns the process exit status.
using CommandFn = int (*)(const Invocation& invocation);

struct Operand {
    const char* Name;  // "FILE.json"
    const char* Description;
    bool Optional = false;
};

struct Command {
    const char* Name;
    const char* Synopsis;  // after the name: "--port P [--json] [--out-dir DIR]"
    const char* Summary;   // one line
    QList<QCommandLineOption> Options;
    QList<Operand> Operands;
    CommandFn Run;
};

// Call from a static initialiser: static const bool registered = RegisterCommand({...});
bool RegisterCommand(const Command& command);
const QList<Command>& Commands();
const Command* FindCommand(const QString& name);

// Options several commands share.
QCommandLineOption PortOption();            // --port P, more than once or a comma list
QCommandLineOption QuietOption();           // --quiet: no progress line
QCommandLineOption OutDirOption();          // --out-dir DIR
QList<QCommandLineOption> BackupOptions();  // --backup-dir DIR, --no-backup
// Where a write keeps the gateway's configuration first; empty with --no-backup.
QString BackupFolderOf(const QCommandLineParser& args);
QCommandLineOption EdsTextOption(const char* name);  // --description T, --created-by T

// --reply-timeout MS: 0 when it is not given, nothing when MS is no time-out
// (UserReplyTimeout.h).
std::optional<int> ReplyTimeoutOf(const QCommandLineParser& parser);

// "Usage: kv9052r-cli read --port P [--json] ..."
QString UsageLine(const Command& command);
QString CommandHelp(const Command& command);

// Runs kv9052r-cli with its arguments (program name first): parses, answers --help,
// --version and "help", refuses bad usage with status 2, and runs the command.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace kv::cli
