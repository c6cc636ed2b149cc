#pragma once
// The Modbus commands of the application object classes that are in use, in the order the
// gateway numbers its poll connection entries: classes 0x65, 0x66 (serial), then 0x67..0x6A
// (TCP), and within a class its commands 1..CmdCount. Read from the editor's working copy.

#include <cstdint>
#include <vector>

#include "config/GatewayConfig.h"
#include "config/GatewayFacts.h"

namespace kv {

struct ClassCommand {
    uint8_t ClassId = 0;
    int Instance = 0;  // 1-based: slot 0 is instance 1
    ModbusCommand Command;
};

// A serial class is in use when its ConnMode is set, a TCP class when ConnValid is. A
// count above the class's slots stops at the last slot; Valid is not looked at here.
std::vector<ClassCommand> CommandsInUse(const GatewayConfig& config);

}  // namespace kv
