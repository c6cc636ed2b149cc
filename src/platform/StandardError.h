#pragma once
// The terminal a command-line program's standard error may be, for its progress line.

namespace kv {

bool StandardErrorIsTerminal();
// Its width in columns; 80 when it is no terminal or does not say.
int StandardErrorColumns();

}  // namespace kv
