#pragma once
// The eight Modbus function codes a command may use and what follows from each.

#include <array>
#include <cstdint>

namespace kv {

inline constexpr std::array<uint8_t, 8> FunctionCodes = {1, 2, 3, 4, 5, 6, 15, 16};

constexpr bool IsKnownFunctionCode(int code) {
    for (auto c : FunctionCodes)
        if (c == code) return true;
    return false;
}
// Codes 1..4 read from the device (their data is produced towards DeviceNet).
constexpr bool IsReadingCode(int code) { return code >= 1 && code <= 4; }
constexpr bool IsWritingCode(int code) {
    return code == 5 || code == 6 || code == 15 || code == 16;
}
// Bit codes count their length in bits, the others in 16-bit registers.
constexpr bool IsBitCode(int code) { return code == 1 || code == 2 || code == 5 || code == 15; }
// FC05 and FC06 write a single coil or register: their length is 1.
constexpr bool IsSingleItemCode(int code) { return code == 5 || code == 6; }

// A device's unit ID: 0 is a broadcast, which no device answers, and 248..255 are reserved.
inline constexpr int MinNetId = 1;
inline constexpr int MaxNetId = 247;
inline constexpr int MaxBitLength = 1920;
inline constexpr int MaxRegisterLength = 120;
inline constexpr int InternalMemorySize = 2048;

// Bytes of data one command moves: whole bytes of bits, or two per register.
constexpr int CommandDataBytes(int code, int length) {
    return IsBitCode(code) ? (length + 7) / 8 : length * 2;
}

}  // namespace kv
