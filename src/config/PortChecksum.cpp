#include "config/PortChecksum.h"

#include "config/EepromCodec.h"

namespace kv {

uint8_t ComputePortChecksum(const SerialClassRecord& port) {
    const auto bytes = eeprom::EncodePortSettings(port);
    const unsigned sum = bytes[0] + bytes[1] + bytes[2] + bytes[4] + bytes[5] + bytes[6];
    return static_cast<uint8_t>(sum & 0xFF);
}

}  // namespace kv
