#include "save/ConsoleWrites.h"

namespace kv {

EthernetSettingResult CheckEthernetSettings(const EthernetParams& ethernet,
                                            EthernetParams& checked) {
    return ApplyEthernetSetting(checked, {ethernet.Ip, ethernet.Gateway, ethernet.Mask});
}

QStringList EthernetCommands(const EthernetParams& ethernet) {
    EthernetParams checked;
    if (!CheckEthernetSettings(ethernet, checked).ok()) return {};
    return {"ip " + checked.Ip, "gateway " + checked.Gateway, "mask " + checked.Mask};
}

bool SendChangingCommands(ConsoleLink& link, const QStringList& lines) {
    for (const QString& line : lines)
        if (!link.SendCommand(line, link.ControllerPrompt, LineKind::Changes)) return false;
    return true;
}

bool SendEthernetSettings(ConsoleLink& link, const EthernetParams& ethernet) {
    const QStringList lines = EthernetCommands(ethernet);
    return !lines.isEmpty() && SendChangingCommands(link, lines);
}

}  // namespace kv
