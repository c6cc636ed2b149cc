#pragma once
// The conventional Modbus reference of a command's first item: the table's leading digit
// (0 coils, 1 discrete inputs, 3 input registers, 4 holding registers) followed by the
// one-based address in five digits, or six where five do not hold it.

#include <QString>

namespace kv {

// FC03 start 0 -> "40001", FC01 start 99 -> "00100", FC03 start 65535 -> "465536"; empty
// for a function code that is none of 1..6, 15, 16.
QString ModbusReferenceText(int functionCode, int startAddress);

}  // namespace kv
