#include "report/CommandTexts.h"

#include "config/EnumeratedNames.h"
#include "config/FunctionCodes.h"
#include "config/ModbusReference.h"
#include "config/NumberText.h"

namespace kv {

QString ListText(QStringView key, int value) {
    for (const auto& [text, number] : *NamedValuesOf(key))
        if (number == value) return text;
    return QString::number(value);
}

QString FunctionText(int functionCode) {
    const QString text = ListText(u"FunctionCode", functionCode);
    return text == QString::number(functionCode) ? QStringLiteral("FC %1").arg(functionCode) : text;
}

QString ReferenceRangeText(const ModbusCommand& command) {
    const int start = int(RoundHalfEven(command.StartAddress));
    const QString first = ModbusReferenceText(command.FunctionCode, start);
    const QString last = ModbusReferenceText(command.FunctionCode, start + command.Length - 1);
    if (command.Length <= 1 || last.isEmpty() || first.isEmpty()) return first;
    return first + u'-' + last;
}

QString LengthText(const ModbusCommand& command) {
    const bool bits = IsBitCode(command.FunctionCode);
    const QString unit = bits ? QStringLiteral("bit") : QStringLiteral("register");
    return QStringLiteral("%1 %2%3")
        .arg(command.Length)
        .arg(unit)
        .arg(command.Length == 1 ? "" : "s");
}

int CommandBytes(const ModbusCommand& command) {
    return CommandDataBytes(command.FunctionCode, command.Length);
}

}  // namespace kv
