#include "save/ConsoleWrites.h"

#include "config/ParameterChecks.h"

namespace kv {

namespace {

// The Set's check, storing into `checked` what passes.
EthernetSettingResult CheckEthernet(const EthernetParams& ethernet, EthernetParams& checked) {
    return ApplyEthernetSetting(checked, {ethernet.Ip, ethernet.Gateway, ethernet.Mask});
}

}  // namespace

QString EthernetRefusal(const EthernetParams& ethernet) {
    EthernetParams checked;
    return CheckEthernet(ethernet, checked).Message;
}

bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet) {
    EthernetParams checked;
    if (!CheckEthernet(ethernet, checked).ok()) return false;
    const QString prompt = link.ControllerPrompt;
    return link.SendCommand("ip " + checked.Ip, prompt) &&
           link.SendCommand("gateway " + checked.Gateway, prompt) &&
           link.SendCommand("mask " + checked.Mask, prompt);
}

}  // namespace kv
