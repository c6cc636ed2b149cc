#include "report/CommandTexts.h"

#include "config/EnumeratedNames.h"
#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {

QString ListText(QStringView key, int value) {
    return EntryTextOf(key, value).value_or(QString::number(value));
}

QString FunctionText(int functionCode) {
    return EntryTextOf(u"FunctionCode", functionCode)
        .value_or(QStringLiteral("FC %1").arg(functionCode));
}

QString LengthText(const ModbusCommand& command) {
    return CountText(command.Length, IsBitCode(command.FunctionCode) ? "bit" : "register");
}

int CommandBytes(const ModbusCommand& command) {
    return CommandDataBytes(command.FunctionCode, command.Length);
}

}  // namespace kv
