#include "config/CommandChecks.h"

#include <QLocale>
#include <cmath>

#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {

namespace {

constexpr double MaxStartAddress = 65535;
constexpr double MaxSerialTimeout = 65535;
constexpr double MaxTcpTimeout = 4294967295.0;  // the gateway keeps it in four bytes
constexpr int MaxOctet = 255;
constexpr int LastCodeBeforeGap = 6;  // FC15 follows FC06 in the list:
constexpr int CodesSkipped = 8;       // codes 7..14 are not offered

double FieldValue(const QString& text) { return ReadLeadingNumber(QStringView(text).trimmed()); }

QString CheckLength(int code, double length) {
    if (IsSingleItemCode(code))
        return length == 1 ? QString() : QStringLiteral("Communication Length Error. (1)");
    if (IsBitCode(code))
        return length >= 1 && length <= MaxBitLength
                   ? QString()
                   : QStringLiteral("Communication Length Error. (1-1920)");
    return length >= 1 && length <= MaxRegisterLength
               ? QString()
               : QStringLiteral("Communication Length Error. (1-120)");
}

QString CheckStartAddress(int code, double start) {
    if (start >= 0 && start <= MaxStartAddress) return {};
    return IsBitCode(code) ? QStringLiteral("Relay Start Address Error. (0-65535)")
                           : QStringLiteral("Register Start Address Error. (0-65535)");
}

// Every failing check, in the order the user reads the fields.
std::vector<CommandProblem> AllFailures(int code, double netId, double start, double length,
                                        double memory) {
    std::vector<CommandProblem> problems;
    const auto add = [&](const char* field, const QString& message) {
        if (!message.isEmpty()) problems.push_back({QLatin1String(field), message});
    };
    if (netId < MinNetId || netId > MaxNetId)
        add("NetId", QStringLiteral("ModBus Device Address Error. (1-247)"));
    if (!IsKnownFunctionCode(code))
        add("FunctionCode", QStringLiteral("Modbus Function Code Error. (1-6, 15, 16)"));
    add("StartAddress", CheckStartAddress(code, start));
    const QString lengthError = CheckLength(code, length);
    add("Length", lengthError);
    // A negative address would wrap to the far end of the 16-bit EEPROM field.
    if (memory < 0)
        add("MemAddress", QStringLiteral("Internal Memory Address Error. (0-2047)"));
    else if (lengthError.isEmpty() && length + memory >= InternalMemorySize)
        add("MemAddress/Length",
            QStringLiteral("Communication Length Greater Than Internal Memory"));
    return problems;
}

}  // namespace

const QStringList& FunctionCodeEntries() {
    static const QStringList entries = {
        QStringLiteral("FC01 Read Coil Status"),
        QStringLiteral("FC02 Read Input Status"),
        QStringLiteral("FC03 Read Holding Registers"),
        QStringLiteral("FC04 Read Input Registers"),
        QStringLiteral("FC05 Write Single Coil"),
        QStringLiteral("FC06 Write single register"),
        QStringLiteral("FC15 Force Multiple Coils"),
        QStringLiteral("FC16 Preset Multiple Registers"),
    };
    return entries;
}

uint8_t FunctionCodeAtPosition(int position) {
    const int code = position + 1;
    return static_cast<uint8_t>(code <= LastCodeBeforeGap ? code : code + CodesSkipped);
}

int PositionOfFunctionCode(int code) {
    if (!IsKnownFunctionCode(code)) return -1;
    return code <= LastCodeBeforeGap ? code - 1 : code - CodesSkipped - 1;
}

FunctionCodeLayout LayoutOfFunctionCode(int code) {
    const bool bits = IsBitCode(code);
    FunctionCodeLayout layout;
    layout.RegAddr = bits ? QStringLiteral("Relay Address") : QStringLiteral("Register Address");
    layout.DataLen =
        bits ? QStringLiteral("Data Length (Bits)") : QStringLiteral("Data Length (Words)");
    layout.RemoteAddress = QStringLiteral("(0-65535)");
    layout.InternalMemAddr = bits ? QStringLiteral("(0-2047)") : QStringLiteral("(0-1023)");
    layout.SingleItem = IsSingleItemCode(code);
    layout.RemoteDataLen = layout.SingleItem ? QStringLiteral("(1)")
                           : bits            ? QStringLiteral("(1-1920)")
                                             : QStringLiteral("(1-120)");
    layout.LengthMaxChars = bits ? 4 : 3;
    return layout;
}

CommandCheck CheckCommandFields(const CommandFieldTexts& fields) {
    const double netId = FieldValue(fields.NetId);
    const double start = FieldValue(fields.StartAddress);
    const double length = FieldValue(fields.Length);
    const double memory = FieldValue(fields.MemAddress);
    CommandCheck check;
    const auto problems = AllFailures(fields.FunctionCode, netId, start, length, memory);
    if (!problems.empty()) {
        check.Error = problems.front().Message;
        return check;
    }
    check.Command.Valid = 1;
    check.Command.NetId = static_cast<uint8_t>(RoundHalfEven(netId));
    check.Command.FunctionCode = fields.FunctionCode;
    check.Command.StartAddress = start;
    check.Command.Length = static_cast<int32_t>(RoundHalfEven(length));
    check.Command.MemAddress = memory;
    return check;
}

std::vector<CommandProblem> CommandProblems(const ModbusCommand& command) {
    return AllFailures(command.FunctionCode, command.NetId, command.StartAddress, command.Length,
                       command.MemAddress);
}

CommandFieldTexts FieldsOfCommand(const ModbusCommand& command) {
    return {QString::number(command.NetId), command.FunctionCode,
            NumberFieldText(command.StartAddress), QString::number(command.Length),
            NumberFieldText(command.MemAddress)};
}

QString NumberFieldText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

SerialClassAttributes ReadSerialClassAttributes(int connModePosition,
                                                const QString& cmdTimeoutText) {
    const double timeout = FieldValue(cmdTimeoutText);
    SerialClassAttributes attributes;
    attributes.ConnMode = static_cast<uint8_t>(connModePosition);
    attributes.CmdTimeout = timeout > 0 && timeout <= MaxSerialTimeout ? timeout : 0;
    return attributes;
}

TcpAttributeCheck CheckTcpClassAttributes(const TcpClassAttributeTexts& texts) {
    TcpAttributeCheck check;
    check.Attributes.ConnValid = static_cast<uint8_t>(texts.ConnValidPosition);
    for (size_t i = 0; i < texts.ServerIp.size(); ++i) {
        const int64_t octet = RoundHalfEven(FieldValue(texts.ServerIp[i]));
        if (octet < 0 || octet > MaxOctet) {
            check.Error = QStringLiteral("Server IP Octet %1 Error. (0-255)").arg(i + 1);
            return check;
        }
        check.Attributes.ServerIp[i] = static_cast<uint8_t>(octet);
    }
    struct Timeout {
        const QString& Text;
        double& Stored;
        const char* Name;
    };
    const Timeout timeouts[] = {
        {texts.ConnTimeout, check.Attributes.ConnTimeout, "Connection Timeout"},
        {texts.RetryConnTimeout, check.Attributes.RetryConnTimeout, "Retry Connection Timeout"},
        {texts.CmdTimeout, check.Attributes.CmdTimeout, "Command Timeout"},
    };
    for (const auto& timeout : timeouts) {
        const double value = FieldValue(timeout.Text);
        const int64_t rounded = RoundHalfEven(value);
        if (rounded < 0 || rounded > static_cast<int64_t>(MaxTcpTimeout)) {
            check.Error =
                QStringLiteral("%1 Error. (0-4294967295)").arg(QLatin1String(timeout.Name));
            return check;
        }
        timeout.Stored = value;
    }
    return check;
}

}  // namespace kv
