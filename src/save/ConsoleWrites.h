#pragma once
// The Ethernet settings as the save and the factory reset send them, by console command
// at the controller's prompt. Returns false when the console did not answer as expected.

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"

namespace kv {

// "ip ", "gateway ", "mask " with the addresses, blanks at either end removed.
bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet);

}  // namespace kv
