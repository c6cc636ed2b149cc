#pragma once
// The configuration as readable lines, for `read` without --json.

#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

QString FormatConfigText(const GatewayConfig& config);

}  // namespace kv
