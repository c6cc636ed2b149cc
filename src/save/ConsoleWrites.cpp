#include "save/ConsoleWrites.h"

namespace kv {

EthernetSettingResult CheckEthernetSettings(const EthernetParams& ethernet,
                                            EthernetParams& checked) {
    return ApplyEthernetSetting(checked, {ethernet.Ip, ethernet.Gateway, ethernet.Mask});
}

bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet) {
    EthernetParams checked;
    if (!CheckEthernetSettings(ethernet, checked).ok()) return false;
    const QString prompt = link.ControllerPrompt;
    return link.SendCommand("ip " + checked.Ip, prompt, LineKind::Changes) &&
           link.SendCommand("gateway " + checked.Gateway, prompt, LineKind::Changes) &&
           link.SendCommand("mask " + checked.Mask, prompt, LineKind::Changes);
}

}  // namespace kv
