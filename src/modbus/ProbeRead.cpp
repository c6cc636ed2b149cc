#include "modbus/ProbeRead.h"

#include <QByteArray>

#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {

int ProbingFunction(int functionCode) {
    if (IsReadingCode(functionCode)) return functionCode;
    if (!IsWritingCode(functionCode)) return 0;
    return IsBitCode(functionCode) ? 1 : 3;
}

ProbeReadOrWhyNot ProbeReadOf(const ModbusCommand& command) {
    if (command.NetId < MinNetId || command.NetId > MaxNetId)
        return {{},
                QStringLiteral("unit ID %1 is outside %2..%3")
                    .arg(command.NetId)
                    .arg(MinNetId)
                    .arg(MaxNetId)};
    const int function = ProbingFunction(command.FunctionCode);
    if (function == 0)
        return {{},
                QStringLiteral("function code %1 is none of the eight").arg(command.FunctionCode)};
    const int64_t start = RoundHalfEven(command.StartAddress);
    const int maximum = IsBitCode(function) ? MaxBitLength : MaxRegisterLength;
    if (command.Length < 1 || command.Length > maximum)
        return {{}, QStringLiteral("length %1 is outside 1..%2").arg(command.Length).arg(maximum)};
    if (start < 0 || start + command.Length > 65536)
        return {{},
                QStringLiteral("start address %1 and length %2 reach past 65535")
                    .arg(start)
                    .arg(command.Length)};
    return {ProbeRead{command.NetId, uint8_t(function), uint16_t(start), uint16_t(command.Length)},
            {}};
}

QByteArray ReadRequestPdu(const ProbeRead& read) {
    const char bytes[] = {char(read.Function), char(read.Start >> 8), char(read.Start & 0xFF),
                          char(read.Count >> 8), char(read.Count & 0xFF)};
    return QByteArray(bytes, sizeof bytes);
}

}  // namespace kv
