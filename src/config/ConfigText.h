#pragma once
// The configuration as readable lines, for `read` without --json.

#include "config/GatewayConfig.h"

#include <QString>

namespace kv {

QString FormatConfigText(const GatewayConfig& config);

}  // namespace kv
