#include "config/EepromCodec.h"

#include <algorithm>
#include <cstddef>

#include "config/NumberText.h"

namespace kv::eeprom {

namespace {

// Byte k of a number: rounded halves-to-even, divided by 256^k toward zero, low 8 bits.
uint8_t ByteOf(double value, int k) {
    int64_t whole = RoundHalfEven(value);
    for (int i = 0; i < k; ++i) whole /= 256;
    return static_cast<uint8_t>(whole & 0xFF);
}

void PutBigEndian(double value, std::span<uint8_t> out) {
    const int size = static_cast<int>(out.size());
    for (int i = 0; i < size; ++i) out[i] = ByteOf(value, size - 1 - i);
}

void PutLittleEndian(double value, std::span<uint8_t> out) {
    for (int i = 0; i < static_cast<int>(out.size()); ++i) out[i] = ByteOf(value, i);
}

uint32_t BigEndianAt(std::span<const uint8_t> in) {
    uint32_t value = 0;
    for (uint8_t byte : in) value = value * 256 + byte;
    return value;
}

uint32_t LittleEndianAt(std::span<const uint8_t> in) {
    uint32_t value = 0;
    for (auto it = in.rbegin(); it != in.rend(); ++it) value = value * 256 + *it;
    return value;
}

template <std::size_t N>
std::span<const uint8_t, N> RunAt(const EepromBlock& block, int address) {
    return std::span<const uint8_t, N>(block.data() + address, N);
}

template <std::size_t N>
void PutRun(EepromBlock& block, int address, const std::array<uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + address);
}

void DecodeSerialClass(const EepromBlock& block, SerialClassRecord& record) {
    DecodeSerialHeader(RunAt<SerialHeaderBytes>(block, 0), record);
    const int count = CommandsToRead(record.CmdCount, SerialCommandSlots);
    for (int slot = 0; slot < count; ++slot)
        DecodeCommand(RunAt<CommandBytes>(block, SerialCommandAddress(slot)),
                      record.Commands[slot]);
}

void DecodeTcpClass(const EepromBlock& block, int connection, TcpClassRecord& record) {
    DecodeTcpHeader(RunAt<TcpHeaderBytes>(block, TcpClassBase(connection)), record);
    const int count = CommandsToRead(record.CmdCount, TcpCommandSlots);
    for (int slot = 0; slot < count; ++slot) {
        const int address = TcpCommandAddress(connection, slot);
        DecodeCommand(RunAt<CommandBytes>(block, address), record.Commands[slot]);
    }
}

void EncodeSerialClass(const SerialClassRecord& record, EepromBlock& block) {
    PutRun(block, 0, EncodeSerialHeader(record));
    const int count = CommandCount(record);
    for (int slot = 0; slot < count; ++slot)
        PutRun(block, SerialCommandAddress(slot), EncodeCommand(record.Commands[slot]));
}

void EncodeTcpClass(const TcpClassRecord& record, int connection, EepromBlock& block) {
    PutRun(block, TcpClassBase(connection), EncodeTcpHeader(record));
    const int count = CommandCount(record);
    for (int slot = 0; slot < count; ++slot)
        PutRun(block, TcpCommandAddress(connection, slot), EncodeCommand(record.Commands[slot]));
}

}  // namespace

void DecodePortSettings(std::span<const uint8_t, PortSettingsBytes> bytes,
                        SerialClassRecord& port) {
    port.Baud = LittleEndianAt(bytes.subspan<0, 4>());
    port.DataBits = bytes[4];
    port.Parity = bytes[5];
    port.StopBits = bytes[6];
    port.PortChecksum = bytes[7];
}

void DecodeSettings(std::span<const uint8_t, SettingsReadBytes> bytes, GatewayConfig& config) {
    config.FirmwareInfo.Major = bytes[0];
    config.FirmwareInfo.Minor = bytes[1];
    // The controller stores the day before the month.
    config.FirmwareInfo.Day = bytes[2];
    config.FirmwareInfo.Month = bytes[3];
    config.FirmwareInfo.Year = static_cast<int32_t>(BigEndianAt(bytes.subspan<4, 2>()));
    config.ConfigMarker = static_cast<int32_t>(BigEndianAt(bytes.subspan<6, 2>()));
    config.DeviceNetParams.NodeId = bytes[8];
    config.DeviceNetParams.BaudIndex = bytes[9];
    config.ComBaudIndex = {bytes[10], bytes[11]};
    const auto paths = bytes.subspan<PollPathsAddress, PollPathsBytes>();
    std::copy_n(paths.begin(), 3, config.ConnectionPaths.PollProduce.begin());
    std::copy_n(paths.begin() + 3, 3, config.ConnectionPaths.PollConsume.begin());
}

void DecodeSerialHeader(std::span<const uint8_t, SerialHeaderBytes> bytes,
                        SerialClassRecord& record) {
    record.ConnMode = bytes[0];
    record.CmdTimeout = BigEndianAt(bytes.subspan<1, 4>());
    record.CmdCount = bytes[5];
}

void DecodeTcpHeader(std::span<const uint8_t, TcpHeaderBytes> bytes, TcpClassRecord& record) {
    record.ConnValid = bytes[0];
    std::copy_n(bytes.begin() + 1, 4, record.ServerIp.begin());
    record.ConnTimeout = BigEndianAt(bytes.subspan<5, 4>());
    record.RetryConnTimeout = BigEndianAt(bytes.subspan<9, 4>());
    record.CmdTimeout = BigEndianAt(bytes.subspan<13, 4>());
    record.CmdCount = bytes[17];
}

void DecodeCommand(std::span<const uint8_t, CommandBytes> bytes, ModbusCommand& command) {
    command.Valid = bytes[0];
    command.NetId = bytes[1];
    command.FunctionCode = bytes[2];
    command.MemAddress = BigEndianAt(bytes.subspan<3, 2>());
    command.StartAddress = BigEndianAt(bytes.subspan<5, 2>());
    command.Length = static_cast<int32_t>(BigEndianAt(bytes.subspan<7, 2>()));
}

std::array<uint8_t, PortSettingsBytes> EncodePortSettings(const SerialClassRecord& port) {
    std::array<uint8_t, PortSettingsBytes> bytes{};
    PutLittleEndian(port.Baud, std::span(bytes).subspan<0, 4>());
    bytes[4] = port.DataBits;
    bytes[5] = port.Parity;
    bytes[6] = port.StopBits;
    bytes[7] = port.PortChecksum;
    return bytes;
}

std::array<uint8_t, SettingsWriteBytes> EncodeSettings(const GatewayConfig& config) {
    std::array<uint8_t, SettingsWriteBytes> bytes{};
    PutBigEndian(ConfigMarkerValid, std::span(bytes).subspan<0, 2>());
    bytes[2] = config.DeviceNetParams.NodeId;
    bytes[3] = config.DeviceNetParams.BaudIndex;
    bytes[4] = config.ComBaudIndex[0];
    bytes[5] = config.ComBaudIndex[1];
    return bytes;
}

std::array<uint8_t, PollPathsBytes> EncodePollPaths(const ConnectionPaths& paths) {
    std::array<uint8_t, PollPathsBytes> bytes{};
    std::copy(paths.PollProduce.begin(), paths.PollProduce.end(), bytes.begin());
    std::copy(paths.PollConsume.begin(), paths.PollConsume.end(), bytes.begin() + 3);
    return bytes;
}

std::array<uint8_t, SerialHeaderBytes> EncodeSerialHeader(const SerialClassRecord& record) {
    std::array<uint8_t, SerialHeaderBytes> bytes{};
    bytes[0] = record.ConnMode;
    PutBigEndian(record.CmdTimeout, std::span(bytes).subspan<1, 4>());
    bytes[5] = record.CmdCount;
    return bytes;
}

std::array<uint8_t, TcpHeaderBytes> EncodeTcpHeader(const TcpClassRecord& record) {
    std::array<uint8_t, TcpHeaderBytes> bytes{};
    bytes[0] = record.ConnValid;
    std::copy(record.ServerIp.begin(), record.ServerIp.end(), bytes.begin() + 1);
    PutBigEndian(record.ConnTimeout, std::span(bytes).subspan<5, 4>());
    PutBigEndian(record.RetryConnTimeout, std::span(bytes).subspan<9, 4>());
    PutBigEndian(record.CmdTimeout, std::span(bytes).subspan<13, 4>());
    bytes[17] = record.CmdCount;
    return bytes;
}

std::array<uint8_t, CommandBytes> EncodeCommand(const ModbusCommand& command) {
    std::array<uint8_t, CommandBytes> bytes{};
    bytes[0] = command.Valid;
    bytes[1] = command.NetId;
    bytes[2] = command.FunctionCode;
    PutBigEndian(command.MemAddress, std::span(bytes).subspan<3, 2>());
    PutBigEndian(command.StartAddress, std::span(bytes).subspan<5, 2>());
    PutBigEndian(command.Length, std::span(bytes).subspan<7, 2>());
    return bytes;
}

void DecodeImage(const EepromImage& image, GatewayConfig& config) {
    const EepromBlock& ports = image.Blocks[PortSettingsBlock];
    for (int port = 0; port < SerialClassCount; ++port) {
        const auto run = RunAt<PortSettingsBytes>(ports, PortSettingsAddress(port));
        DecodePortSettings(run, config.SerialClasses[port]);
    }
    DecodeSettings(RunAt<SettingsReadBytes>(image.Blocks[SettingsBlock], 0), config);
    // Without the marker blocks 8..11 are not read: the class records keep what they held.
    if (config.ConfigMarker != ConfigMarkerValid) return;
    for (int serial = 0; serial < SerialClassCount; ++serial)
        DecodeSerialClass(image.Blocks[SerialClassBlock(serial)], config.SerialClasses[serial]);
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        const EepromBlock& block = image.Blocks[TcpClassBlock(connection)];
        DecodeTcpClass(block, connection, config.TcpClasses[connection]);
    }
}

void EncodeImage(const GatewayConfig& config, EepromImage& image) {
    EepromBlock& ports = image.Blocks[PortSettingsBlock];
    for (int port = 0; port < SerialClassCount; ++port)
        PutRun(ports, PortSettingsAddress(port), EncodePortSettings(config.SerialClasses[port]));
    EepromBlock& settings = image.Blocks[SettingsBlock];
    PutRun(settings, SettingsWriteAddress, EncodeSettings(config));
    PutRun(settings, PollPathsAddress, EncodePollPaths(config.ConnectionPaths));
    for (int serial = 0; serial < SerialClassCount; ++serial)
        EncodeSerialClass(config.SerialClasses[serial], image.Blocks[SerialClassBlock(serial)]);
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        EepromBlock& block = image.Blocks[TcpClassBlock(connection)];
        EncodeTcpClass(config.TcpClasses[connection], connection, block);
    }
}

}  // namespace kv::eeprom
