#pragma once
// The console exchanges that change the gateway, shared by the save and the factory reset.
// Each returns false when the console did not answer as expected.

#include <cstdint>
#include <span>

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"

namespace kv {

// "ip ", "gateway ", "mask " with the addresses, blanks at either end removed.
bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet);

// "use eeprom": the console's EEPROM mode, where blocks are selected and edited.
bool EnterEepromMode(ConsoleLink& link);
bool SelectBlock(ConsoleLink& link, int block);

// Opens address `address` of the selected block, stores the bytes one after another (the
// console moving on to the next address confirms each), then leaves the editor with ".".
bool WriteEditSequence(ConsoleLink& link, int address, std::span<const uint8_t> bytes);

// "quit": back from EEPROM mode to the controller's prompt.
bool LeaveEepromMode(ConsoleLink& link);

}  // namespace kv
