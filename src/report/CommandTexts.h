#pragma once
// One Modbus command as the report shows it: the function by its list text, the Modbus
// references it covers, its length in its own unit and in bytes.

#include <QString>

#include "config/GatewayConfig.h"
#include "config/ModbusReference.h"

namespace kv {

// The list text of a field the windows offer as a list (EnumeratedNames): "500 KBPS" for
// BaudIndex 2; the number itself for a value the list does not hold.
QString ListText(QStringView key, int value);
// "FC03 Read Holding Registers"; "FC 9" for a code the list does not offer.
QString FunctionText(int functionCode);
// "10 registers", "16 bits", "1 bit".
QString LengthText(const ModbusCommand& command);
// Bytes of data the command moves.
int CommandBytes(const ModbusCommand& command);

}  // namespace kv
