#pragma once
// Restoring the gateway's factory settings without rewriting its Modbus tables: the factory
// Ethernet addresses, 0 in both port check bytes, the configuration marker cleared (so a
// later read-out no longer takes blocks 8..11), node ID 1 and DeviceNet baud index 0.

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "save/WriteBack.h"

namespace kv {

// The question the window asks first, and its title.
inline const char* const FactoryResetQuestion = "Do you want to continue ?";
inline const char* const FactoryResetTitle = "Restore to Factory Setting";

EthernetParams FactoryEthernetParams();

// On an open port; progress 3, 5, 7, 9, and 10 at the end of a success. The model takes the factory
// Ethernet addresses before they are sent, and node ID 1 and baud index 0 just before they are
// written; both stay changed when a later exchange fails.
WriteResult FactoryReset(ConsoleLink& link, GatewayConfig& config, const ProgressFn& progress);

}  // namespace kv
