#pragma once
// The read the PC sends to try a command against its device. Reading codes are sent as
// configured; a writing code is never sent (the device's outputs would change): the same
// range is read instead, coils with FC01 and registers with FC03.

#include <QString>
#include <cstdint>
#include <optional>

#include "config/GatewayConfig.h"

namespace kv {

struct ProbeRead {
    uint8_t Unit = 0;
    uint8_t Function = 0;  // 1..4
    uint16_t Start = 0;
    uint16_t Count = 0;  // coils or registers

    bool operator==(const ProbeRead&) const = default;
};

// The read for `command`, or the reason it has none (a unit ID no device has, a function
// code that is none of the eight, a start or length outside what a read can ask).
struct ProbeReadOrWhyNot {
    std::optional<ProbeRead> Read;
    QString WhyNot;
};
ProbeReadOrWhyNot ProbeReadOf(const ModbusCommand& command);

// The read a function code is probed with: itself for 1..4, 1 for 5 and 15, 3 for 6 and 16;
// 0 for a code that is none of the eight.
int ProbingFunction(int functionCode);

// The request's protocol data unit: function, start and count, big-endian.
QByteArray ReadRequestPdu(const ProbeRead& read);

}  // namespace kv
