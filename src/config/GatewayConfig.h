#pragma once
// The one in-memory picture of the gateway. Every field has the width of the EEPROM
// bytes it comes from; numbers the user types are kept as doubles (whole values) as
// they were entered, and rounded only when they are written.

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>

namespace kv {

// One instance of an application object class: one Modbus request the gateway issues.
struct ModbusCommand {
    uint8_t Valid = 0;         // 1 = slot holds a command
    uint8_t NetId = 0;         // Modbus slave address 1..247
    uint8_t FunctionCode = 0;  // 1, 2, 3, 4, 5, 6, 15, 16
    double MemAddress = 0;     // gateway internal memory 0..2047
    double StartAddress = 0;   // first coil/register in the device 0..65535
    int32_t Length = 0;        // bits (1..1920) or registers (1..120)

    bool operator==(const ModbusCommand&) const = default;
};

inline constexpr int SerialClassCount = 2;
inline constexpr int TcpClassCount = 4;
inline constexpr int SerialCommandSlots = 10;
inline constexpr int TcpCommandSlots = 5;

// A serial Modbus master (class 0x65 = COM1, 0x66 = COM2) with its port settings.
struct SerialClassRecord {
    uint8_t ConnMode = 0;  // 0 none, 1 Modbus RTU, 2 Modbus ASCII
    double CmdTimeout = 0;
    uint8_t CmdCount = 0;
    double Baud = 0;
    uint8_t DataBits = 0;
    uint8_t Parity = 0;  // 0 none, 1 even, 2 odd
    uint8_t StopBits = 0;
    uint8_t PortChecksum = 0;
    std::array<ModbusCommand, SerialCommandSlots> Commands{};

    bool operator==(const SerialClassRecord&) const = default;
};

// A Modbus TCP server connection (classes 0x67..0x6A).
struct TcpClassRecord {
    uint8_t ConnValid = 0;  // 0 not used, 1 used
    std::array<uint8_t, 4> ServerIp{};
    double ConnTimeout = 0;
    double RetryConnTimeout = 0;
    double CmdTimeout = 0;
    uint8_t CmdCount = 0;
    std::array<ModbusCommand, TcpCommandSlots> Commands{};

    bool operator==(const TcpClassRecord&) const = default;
};

// The commands a class record holds: slots 0..CmdCount-1. A count above the slots (only a
// damaged EEPROM holds one) stops at the last slot.
template <typename ClassRecord>
constexpr int CommandCount(const ClassRecord& record) {
    return std::min<int>(record.CmdCount, int(record.Commands.size()));
}

struct DeviceNetParams {
    uint8_t NodeId = 1;     // MAC ID 0..63
    uint8_t BaudIndex = 0;  // 0 = 125, 1 = 250, 2 = 500 kbit/s

    bool operator==(const DeviceNetParams&) const = default;
};

struct FirmwareInfo {
    uint8_t Major = 0;
    uint8_t Minor = 0;
    int32_t Year = 0;
    uint8_t Month = 0;
    uint8_t Day = 0;

    bool operator==(const FirmwareInfo&) const = default;
};

struct ConnectionPaths {
    std::array<uint8_t, 3> PollProduce{};  // class, instance, attribute
    std::array<uint8_t, 3> PollConsume{};

    bool operator==(const ConnectionPaths&) const = default;
};

struct EthernetParams {
    QString Ip;
    QString Mask;
    QString Gateway;

    bool operator==(const EthernetParams&) const = default;
};

// Blocks 8..11 hold a Modbus configuration only when block 1 carries this marker.
inline constexpr int32_t ConfigMarkerValid = 436;

struct GatewayConfig {
    kv::DeviceNetParams DeviceNetParams;
    kv::FirmwareInfo FirmwareInfo;
    int32_t ConfigMarker = 0;
    std::array<uint8_t, 2> ComBaudIndex{};
    kv::ConnectionPaths ConnectionPaths;
    kv::EthernetParams EthernetParams;
    std::array<SerialClassRecord, SerialClassCount> SerialClasses{};
    std::array<TcpClassRecord, TcpClassCount> TcpClasses{};
    // The application object editor's working copy; made when the editor opens.
    std::array<SerialClassRecord, SerialClassCount> EditSerialClasses{};
    std::array<TcpClassRecord, TcpClassCount> EditTcpClasses{};
};

}  // namespace kv
