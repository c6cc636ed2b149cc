#pragma once
// Which Input (produced path) or Output (consumed path) entry of the EDS file the poll
// connection uses by default. Entries 1..3 are the gateway's Ethernet addresses; the
// Modbus commands that carry data in the path's direction follow from 4 on.

#include <array>
#include <cstdint>

#include "config/GatewayConfig.h"
#include "eds/ConnectionData.h"

namespace kv {

// path: class, instance, attribute. The parameter object's attribute is its own entry
// number; a Modbus command gives the number of the last counted entry up to and including
// it; a class or instance not in use gives 1.
int DefaultConnectionIndex(const GatewayConfig& config, const std::array<uint8_t, 3>& path,
                           PollDirection direction);

}  // namespace kv
