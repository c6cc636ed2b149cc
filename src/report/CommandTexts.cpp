#include "report/CommandTexts.h"

#include "config/EnumeratedNames.h"
#include "config/FunctionCodes.h"
#include "config/ModbusReference.h"
#include "config/NumberText.h"

namespace kv {

QString ListText(QStringView key, int value) {
    return EntryTextOf(key, value).value_or(QString::number(value));
}

QString FunctionText(int functionCode) {
    return EntryTextOf(u"FunctionCode", functionCode)
        .value_or(QStringLiteral("FC %1").arg(functionCode));
}

QString ReferenceRangeText(const ModbusCommand& command) {
    const int start = int(RoundHalfEven(command.StartAddress));
    const QString first = ModbusReferenceText(command.FunctionCode, start);
    const QString last = ModbusReferenceText(command.FunctionCode, start + command.Length - 1);
    if (command.Length <= 1 || last.isEmpty() || first.isEmpty()) return first;
    return first + u'-' + last;
}

QString LengthText(const ModbusCommand& command) {
    return CountText(command.Length, IsBitCode(command.FunctionCode) ? "bit" : "register");
}

int CommandBytes(const ModbusCommand& command) {
    return CommandDataBytes(command.FunctionCode, command.Length);
}

}  // namespace kv
