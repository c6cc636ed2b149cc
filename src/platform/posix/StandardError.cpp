#include "platform/StandardError.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

namespace kv {

bool StandardErrorIsTerminal() { return isatty(fileno(stderr)) != 0; }

int StandardErrorColumns() {
    winsize size{};
    return ioctl(fileno(stderr), TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

}  // namespace kv
