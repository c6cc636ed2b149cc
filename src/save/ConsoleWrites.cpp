#include "save/ConsoleWrites.h"

namespace kv {

bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet) {
    const QString prompt = link.ControllerPrompt;
    return link.SendCommand("ip " + ethernet.Ip.trimmed(), prompt) &&
           link.SendCommand("gateway " + ethernet.Gateway.trimmed(), prompt) &&
           link.SendCommand("mask " + ethernet.Mask.trimmed(), prompt);
}

}  // namespace kv
