#pragma once
// The controller's EEPROM as blocks of 256 byte addresses, and runs of consecutive
// addresses: what one pass of the console's byte editor reads or writes.

#include <array>
#include <cstdint>
#include <vector>

#include "config/GatewayFacts.h"

namespace kv {

inline constexpr int EepromBlockSize = 256;
inline constexpr int EepromBlockCount = 16;
using EepromBlock = std::array<uint8_t, EepromBlockSize>;

struct EepromImage {
    std::array<EepromBlock, EepromBlockCount> Blocks{};
    bool operator==(const EepromImage&) const = default;
};

// The part of a configuration a run holds. Index is the port, or the class (0, 1 the serial
// classes, 2..5 the TCP connections) whose header (Class) or command (Command, in Slot) the
// run holds. Bytes copied as they are (a backup's block, a factory reset's) hold no part.
struct RunPart {
    enum Kind { None, PortSettings, Settings, PollPaths, Class, Command };
    Kind What = None;
    int Index = 0;
    int Slot = 0;
};

// Bytes at consecutive addresses of one block, from Address on.
struct EepromRun {
    int Block = 0;
    int Address = 0;
    std::vector<uint8_t> Bytes;
    RunPart Part;
};

}  // namespace kv
