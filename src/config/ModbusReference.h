#pragma once
// The conventional Modbus reference of a command's first item, as users of Modbus tools
// write it: the data table's digit (0 coils, 1 discrete inputs, 3 input registers,
// 4 holding registers) followed by the one-based item number. The gateway itself stores
// the zero-based protocol address; the reference is only shown.

#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

// "40001" for FC03 at start address 0. Five digits while the item number fits four,
// six beyond ("465536" for FC03 at 65535). Empty for a code that is none of the eight or
// an address outside 0..65535.
QString ModbusReferenceText(int functionCode, int startAddress);

// "40011-40020" for the references a command covers, "00001" for one item; empty when the
// first reference is none.
QString ReferenceRangeText(const ModbusCommand& command);

}  // namespace kv
