#pragma once
// The Ethernet settings as the save and the factory reset send them, by console command
// at the controller's prompt. Returns false when the console did not answer as expected.

#include <QString>

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"

namespace kv {

// The message of the main window's Ethernet "Set" for the first address it refuses (IP,
// gateway, mask in that order); empty when all three pass.
QString EthernetRefusal(const EthernetParams& ethernet);

// "ip ", "gateway ", "mask " with the addresses as the Ethernet "Set" stores them. The
// console takes whatever follows the command, so addresses that the Set refuses are not
// sent at all: nothing goes out and the result is false.
bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet);

}  // namespace kv
