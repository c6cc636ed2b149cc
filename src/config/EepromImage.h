#pragma once
// The controller's EEPROM as blocks of 256 byte addresses.

#include <array>
#include <cstdint>

namespace kv {

inline constexpr int EepromBlockSize = 256;
inline constexpr int EepromBlockCount = 16;
using EepromBlock = std::array<uint8_t, EepromBlockSize>;

struct EepromImage {
    std::array<EepromBlock, EepromBlockCount> Blocks{};
    bool operator==(const EepromImage&) const = default;
};

// The blocks that hold the configuration, in the order they are read and written.
inline constexpr std::array<int, 6> ConfigBlocks = {0, 1, 8, 9, 10, 11};

}  // namespace kv
