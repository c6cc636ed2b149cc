#pragma once
// EEPROM contents for the virtual gateway: what a new gateway holds, a small configured
// one to look at, and the largest configuration the gateway stores.

#include "config/EepromImage.h"
#include "config/GatewayConfig.h"

namespace kv::sim {

// A new gateway: both ports 115200/8/N/1 with correct check bytes, firmware 1.03 of
// 2009/07/15, no configuration marker, node 1 at 125 kbit/s.
EepromImage FactoryImage();

// A configured gateway: RTU on COM1 and ASCII on COM2 with a few commands each, two of the
// four Modbus TCP servers in use with commands, poll paths the save window offers.
GatewayConfig DemoConfig();
EepromImage DemoImage();

// The length of the maximal gateway's FC05 and FC06 commands: 1, as the editor stores them,
// or more, which a gateway may hold although the editor refuses it.
enum class SingleItemLength { One, AboveOne };

// Every command slot used: 10 commands in each serial class, 5 in each TCP class.
GatewayConfig MaximalConfig(SingleItemLength singleItems = SingleItemLength::One);
EepromImage MaximalImage(SingleItemLength singleItems = SingleItemLength::One);

}  // namespace kv::sim
