#pragma once
// Writing a configuration into the gateway: the Ethernet settings by console command, then
// EEPROM blocks 0, 1, 8, 9, 10 and 11 byte by byte. Blocks 8..11 come from the editor's
// working copy of the classes, block 1's poll paths from the save window's working paths.
// There is no rollback: on a failure the gateway keeps what was written before it.

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"

namespace kv {

enum class WriteResult { Ok, Timeout };

// Progress runs 10, 15, ... 120 (see WriteBack.cpp for the steps); the caller opens the
// port before and closes it after. Given what the gateway was read holding (`held`), only the
// console lines and runs that differ from it are written (ChangedWrites), and nothing at
// all goes out when none does.
WriteResult WriteBack(ConsoleLink& link, const GatewayConfig& config,
                      const ConnectionPaths& pollPaths, const ProgressFn& progress,
                      const GatewayConfig* held = nullptr);

}  // namespace kv
