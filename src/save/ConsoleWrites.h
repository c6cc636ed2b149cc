#pragma once
// The Ethernet settings as the save and the factory reset send them, by console command
// at the controller's prompt. Returns false when the console did not answer as expected.

#include "config/GatewayConfig.h"
#include "config/ParameterChecks.h"
#include "console/ConsoleLink.h"

namespace kv {

// The addresses as the main window's Ethernet "Set" stores them into `checked` (outer
// blanks removed, numbers without leading zeros), or its message for the first one it
// refuses (IP, gateway, mask in that order).
EthernetSettingResult CheckEthernetSettings(const EthernetParams& ethernet,
                                            EthernetParams& checked);

// The console lines that set the addresses as the Ethernet "Set" stores them: "ip ",
// "gateway ", "mask " in that order, or none when the Set refuses one of them.
QStringList EthernetCommands(const EthernetParams& ethernet);

// Sends console lines that change the gateway, each answered by the controller's prompt.
bool SendChangingCommands(ConsoleLink& link, const QStringList& lines);

// "ip ", "gateway ", "mask " with the addresses as the Ethernet "Set" stores them. The
// console takes whatever follows the command, so addresses that the Set refuses are not
// sent at all: nothing goes out and the result is false.
bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet);

}  // namespace kv
