#pragma once
// `ports`: COM 1..16 and the device behind each, so a user can find which number to use.

#include <QStringList>
#include <QTextStream>

namespace kv::cli {

// args: the words after "ports" (none are taken). Returns the process exit status.
int RunPortsCommand(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace kv::cli
