#include "config/FirmwareText.h"

namespace kv {

QString FirmwareVersionText(const FirmwareInfo& firmware) {
    const auto twoDigits = [](int value) { return QString::number(value).rightJustified(2, u'0'); };
    return QStringLiteral("%1.%2-%3/%4/%5")
        .arg(firmware.Major)
        .arg(twoDigits(firmware.Minor))
        .arg(firmware.Year)
        .arg(twoDigits(firmware.Month), twoDigits(firmware.Day));
}

}  // namespace kv
