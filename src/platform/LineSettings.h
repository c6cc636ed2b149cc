#pragma once
// The serial line of the gateway's console: 115200 bit/s, 8 data bits, no parity, 1 stop
// bit. A local port sets it on the device; the RFC 2217 client asks a serial port server
// for it and checks what the server answers against it.

#include <QString>
#include <cstdint>

namespace kv {

// Parity and stop size carry their RFC 2217 codes, which is how a server names them too.
enum class LineParity : uint8_t { None = 1, Odd, Even, Mark, Space };
enum class LineStopBits : uint8_t { One = 1, Two, OneAndHalf };

struct LineSettings {
    uint32_t BaudRate = 115200;
    uint8_t DataBits = 8;
    LineParity Parity = LineParity::None;
    LineStopBits StopBits = LineStopBits::One;

    // "115200 bit/s, 8 data bits, no parity, 1 stop bit".
    QString Text() const;
};

inline constexpr LineSettings ConsoleLine{};

// "no parity", "1.5 stop bits": an RFC 2217 parity or stop size code in words; the code with
// its kind ("parity 9") when it names none.
QString ParityText(uint32_t code);
QString StopBitsText(uint32_t code);

}  // namespace kv
