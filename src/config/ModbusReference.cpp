#include "config/ModbusReference.h"

#include <optional>

#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {
namespace {

constexpr int MaxStartAddress = 65535;

// The data table a function code reads or writes: writing single or many coils works on
// the coils, writing registers on the holding registers.
std::optional<int> TableDigit(int functionCode) {
    switch (functionCode) {
        case 1:
        case 5:
        case 15:
            return 0;
        case 2:
            return 1;
        case 4:
            return 3;
        case 3:
        case 6:
        case 16:
            return 4;
        default:
            return std::nullopt;
    }
}

}  // namespace

QString ModbusReferenceText(int functionCode, int startAddress) {
    const std::optional<int> digit = TableDigit(functionCode);
    if (!digit || startAddress < 0 || startAddress > MaxStartAddress) return {};
    const int itemNumber = startAddress + 1;
    // The item number takes four digits, or five when four cannot hold it.
    const int itemDigits = itemNumber > 9999 ? 5 : 4;
    return QString::number(*digit) +
           QStringLiteral("%1").arg(itemNumber, itemDigits, 10, QLatin1Char('0'));
}

QString ReferenceRangeText(const ModbusCommand& command) {
    const int start = int(RoundHalfEven(command.StartAddress));
    const QString first = ModbusReferenceText(command.FunctionCode, start);
    const QString last = ModbusReferenceText(command.FunctionCode, start + command.Length - 1);
    if (command.Length <= 1 || last.isEmpty() || first.isEmpty()) return first;
    return first + u'-' + last;
}

}  // namespace kv
