#pragma once
// The controller's EEPROM as blocks of 256 byte addresses.

#include <array>
#include <cstdint>

#include "config/GatewayFacts.h"

namespace kv {

inline constexpr int EepromBlockSize = 256;
inline constexpr int EepromBlockCount = 16;
using EepromBlock = std::array<uint8_t, EepromBlockSize>;

struct EepromImage {
    std::array<EepromBlock, EepromBlockCount> Blocks{};
    bool operator==(const EepromImage&) const = default;
};

}  // namespace kv
