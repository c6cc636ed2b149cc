#pragma once
// The serial baud rates the gateway offers; ComBaudIndex stores positions into it.

#include <array>
#include <cstdint>

namespace kv {

inline constexpr std::array<const char*, 8> BaudTexts = {"1200",  "2400",  "4800",  "9600",
                                                         "19200", "38400", "57600", "115200"};

inline constexpr std::array<uint32_t, 8> BaudRates = {1200,  2400,  4800,  9600,
                                                      19200, 38400, 57600, 115200};

// Position of a baud rate in BaudTexts, or -1 when the rate is not offered.
constexpr int BaudIndexOf(double baud) {
    for (int i = 0; i < int(BaudRates.size()); ++i)
        if (double(BaudRates[i]) == baud) return i;
    return -1;
}

}  // namespace kv
