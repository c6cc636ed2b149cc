#pragma once
// How the controller's firmware version is shown: 1.03-2009/07/15.

#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

// Major "." minor "-" year "/" month "/" day; minor, month and day have at least two
// digits (zero-padded), major and year are plain decimal.
QString FirmwareVersionText(const FirmwareInfo& firmware);

}  // namespace kv
