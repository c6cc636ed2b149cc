#pragma once

#include "config/GatewayConfig.h"

namespace kv {

// After a save has fully succeeded, the read-back class records take what was written:
// every class attribute and command slot of the editor's working copy. The serial port
// settings live only in SerialClasses and are kept.
void CopyMBDataToEEPData(GatewayConfig& config);

}  // namespace kv
