#pragma once
// The subcommands of kv9052r-cli. Each command's file registers itself, so adding a
// command touches only its own file.

#include <QStringList>
#include <QTextStream>

namespace kv::cli {

// args: the words after the command's name. Returns the process exit status.
using CommandFn = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

struct Command {
    const char* Name;
    const char* Usage;  // one line: "read --port P [--json]"
    CommandFn Run;
};

// Call from a static initialiser: static const bool registered = RegisterCommand({...});
bool RegisterCommand(const Command& command);
const QList<Command>& Commands();

}  // namespace kv::cli
