#pragma once
// The rules of the application object editor as plain functions: what the fields of one
// Modbus command look like for each function code, the checks a command must pass before
// it is stored, and the class attribute "Set" rules. The editor window and the command
// line tool share them, so both refuse the same entries with the same messages.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "config/GatewayConfig.h"

namespace kv {

// ---- Function codes as the list offers them ----

// The eight entries of the function-code list, in list order.
const QStringList& FunctionCodeEntries();
// The code stored for a list position (0..7): p + 1 for 0..5, p + 9 for 6 and 7.
uint8_t FunctionCodeAtPosition(int position);
// The list position of a stored code, or -1 when the code is none of the eight.
int PositionOfFunctionCode(int code);

// What the command fields show for a function code.
struct FunctionCodeLayout {
    QString RegAddr;          // "Relay Address" / "Register Address"
    QString DataLen;          // "Data Length (Bits)" / "Data Length (Words)"
    QString RemoteAddress;    // range of the start address
    QString RemoteDataLen;    // range of the length
    QString InternalMemAddr;  // range of the memory address
    int LengthMaxChars = 4;   // most characters of the length field
    bool SingleItem = false;  // FC05/FC06: the length is fixed at 1
};
FunctionCodeLayout LayoutOfFunctionCode(int code);

// ---- One command ----

// The texts of a tab's command fields. A default value is the entry state: FC01 and empty
// fields, which is what "Erase" shows.
struct CommandFieldTexts {
    QString NetId;
    uint8_t FunctionCode = 1;
    QString StartAddress;
    QString Length;
    QString MemAddress;

    bool operator==(const CommandFieldTexts&) const = default;
};

// Either the message of the first failing check or the command to store.
struct CommandCheck {
    QString Error;
    ModbusCommand Command;
    bool ok() const { return Error.isEmpty(); }
};

// Checks the fields in the order the user reads them (NetID, start address, length, room
// in the internal memory) and stops at the first failure.
CommandCheck CheckCommandFields(const CommandFieldTexts& fields);

// One failing check of a stored command: the field it concerns ("NetId", "Length"; a check
// over two fields names both, "MemAddress/Length") and the editor's message.
struct CommandProblem {
    QString Field;
    QString Message;
};

// Every check a stored command fails, in the order CheckCommandFields makes them.
std::vector<CommandProblem> CommandProblems(const ModbusCommand& command);

// The texts that show a stored command.
CommandFieldTexts FieldsOfCommand(const ModbusCommand& command);

// The text a field shows for a stored whole number (never in exponent form).
QString NumberFieldText(double value);

// ---- Class attributes ----

// Serial "Set": a command time-out outside 1..65535 is stored as 0 and the field then
// shows "0"; there is no message.
struct SerialClassAttributes {
    uint8_t ConnMode = 0;
    double CmdTimeout = 0;
};
SerialClassAttributes ReadSerialClassAttributes(int connModePosition,
                                                const QString& cmdTimeoutText);

struct TcpClassAttributeTexts {
    int ConnValidPosition = 0;
    std::array<QString, 4> ServerIp;
    QString ConnTimeout;
    QString RetryConnTimeout;
    QString CmdTimeout;
};

struct TcpClassAttributes {
    uint8_t ConnValid = 0;
    std::array<uint8_t, 4> ServerIp{};
    double ConnTimeout = 0;
    double RetryConnTimeout = 0;
    double CmdTimeout = 0;
};

struct TcpAttributeCheck {
    QString Error;  // names the refused field; title "Error"
    TcpClassAttributes Attributes;
    bool ok() const { return Error.isEmpty(); }
};

// TCP "Set": each server IP octet must fit one byte and each time-out the four bytes the
// gateway keeps it in; anything else is refused rather than stored wrapped.
TcpAttributeCheck CheckTcpClassAttributes(const TcpClassAttributeTexts& texts);

}  // namespace kv
