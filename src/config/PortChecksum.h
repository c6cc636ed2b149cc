#pragma once
// The check byte the gateway keeps beside each serial port's settings.

#include <cstdint>

#include "config/GatewayConfig.h"

namespace kv {

// Low 8 bits of the sum of the three low baud-rate bytes, DataBits, Parity and StopBits
// (the port's EEPROM bytes 0, 1, 2, 4, 5 and 6). The top baud byte is not counted.
uint8_t ComputePortChecksum(const SerialClassRecord& port);

}  // namespace kv
