#include "platform/StandardError.h"

#include <QtGlobal>

namespace kv {

// Standard C++ cannot tell a terminal from a file: the progress line stays off, as it does
// when the output goes to a file.
bool StandardErrorIsTerminal() { return false; }

int StandardErrorColumns() {
    const int columns = qEnvironmentVariableIntValue("COLUMNS");
    return columns > 0 ? columns : 80;
}

}  // namespace kv
