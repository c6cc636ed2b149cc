#pragma once

#include <QString>
#include <cstdint>

namespace kv {

// A dotted IPv4 text as one 32-bit number, first part in the top byte: "10.0.0.1" gives
// 10 * 2^24 + 1. Anything that is not four dotted decimal parts of 0..255 gives 0, which
// the EDS file then shows as the parameter's default; an empty or non-numeric part is
// such a text too, so a stray address never stops a save that already reached the gateway.
uint32_t IpTextToNumber(const QString& text);

}  // namespace kv
