#pragma once
// Configurations the checks accept but that cannot work as meant: a Modbus RTU port with
// 7 data bits, a mask that is no network mask, commands of a serial class that is switched
// off, commands that share internal memory. Each is "<key path>: <what is wrong>"; the
// gateway takes them, so they are warnings beside the refusals of the checks.

#include <QStringList>

#include "config/GatewayConfig.h"

namespace kv {

QStringList ConfigWarnings(const GatewayConfig& config);

}  // namespace kv
