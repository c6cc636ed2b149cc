#include "cli/CommandRegistry.h"

namespace kv::cli {
namespace {

QList<Command>& Registry() {
    static QList<Command> commands;
    return commands;
}

}  // namespace

bool RegisterCommand(const Command& command) {
    Registry().append(command);
    return true;
}

const QList<Command>& Commands() { return Registry(); }

}  // namespace kv::cli
