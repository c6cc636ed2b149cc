#include "config/EepromCodec.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

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

// Class k: 0, 1 the serial classes in blocks 8, 9; 2..5 the TCP connections, two a block.
int ClassBlock(int k) {
    return k < SerialClassCount ? SerialClassBlock(k) : TcpClassBlock(k - SerialClassCount);
}
int ClassBase(int k) { return k < SerialClassCount ? 0 : TcpClassBase(k - SerialClassCount); }
int ClassCommandAddress(int k, int slot) {
    return k < SerialClassCount ? SerialCommandAddress(slot)
                                : TcpCommandAddress(k - SerialClassCount, slot);
}

template <typename Record>
constexpr int HeaderBytesOf =
    std::is_same_v<Record, SerialClassRecord> ? SerialHeaderBytes : TcpHeaderBytes;

auto EncodeHeader(const SerialClassRecord& record) { return EncodeSerialHeader(record); }
auto EncodeHeader(const TcpClassRecord& record) { return EncodeTcpHeader(record); }

template <std::size_t N>
std::span<const uint8_t, N> Fixed(const EepromRun& run) {
    return std::span<const uint8_t, N>(run.Bytes.data(), N);
}

void DecodeHeader(const EepromRun& run, SerialClassRecord& record) {
    DecodeSerialHeader(Fixed<SerialHeaderBytes>(run), record);
}
void DecodeHeader(const EepromRun& run, TcpClassRecord& record) {
    DecodeTcpHeader(Fixed<TcpHeaderBytes>(run), record);
}

template <std::size_t N>
EepromRun RunOf(int block, int address, const std::array<uint8_t, N>& bytes, RunPart part) {
    return {block, address, {bytes.begin(), bytes.end()}, part};
}

EepromRun RunToRead(int block, int address, int size, RunPart part) {
    return {block, address, std::vector<uint8_t>(size_t(size)), part};
}

template <typename Record>
void AddClassRuns(const Record& record, int k, std::vector<EepromRun>& runs) {
    runs.push_back(RunOf(ClassBlock(k), ClassBase(k), EncodeHeader(record), {RunPart::Class, k}));
    for (int slot = 0; slot < CommandCount(record); ++slot)
        runs.push_back(RunOf(ClassBlock(k), ClassCommandAddress(k, slot),
                             EncodeCommand(record.Commands[slot]), {RunPart::Command, k, slot}));
}

// Only a count of 1..slots is believed; any other count reads no commands.
template <typename Record>
bool ReadClass(Record& record, int k, const RunFetch& fetch) {
    EepromRun header =
        RunToRead(ClassBlock(k), ClassBase(k), HeaderBytesOf<Record>, {RunPart::Class, k});
    if (!fetch(header)) return false;
    DecodeHeader(header, record);
    const int count = CommandsToRead(record.CmdCount, int(record.Commands.size()));
    for (int slot = 0; slot < count; ++slot) {
        EepromRun command = RunToRead(ClassBlock(k), ClassCommandAddress(k, slot), CommandBytes,
                                      {RunPart::Command, k, slot});
        if (!fetch(command)) return false;
        DecodeCommand(Fixed<CommandBytes>(command), record.Commands[slot]);
    }
    return true;
}

void Tell(const PartRead& partRead, const RunPart& part) {
    if (partRead) partRead(part);
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

std::vector<EepromRun> ConfigRuns(const GatewayConfig& config, ClassRecords classes) {
    const bool edited = classes == ClassRecords::Edited;
    const auto& serialClasses = edited ? config.EditSerialClasses : config.SerialClasses;
    const auto& tcpClasses = edited ? config.EditTcpClasses : config.TcpClasses;
    std::vector<EepromRun> runs;
    for (int port = 0; port < SerialClassCount; ++port)
        runs.push_back(RunOf(PortSettingsBlock, PortSettingsAddress(port),
                             EncodePortSettings(config.SerialClasses[port]),
                             {RunPart::PortSettings, port}));
    runs.push_back(
        RunOf(SettingsBlock, SettingsWriteAddress, EncodeSettings(config), {RunPart::Settings}));
    runs.push_back(RunOf(SettingsBlock, PollPathsAddress, EncodePollPaths(config.ConnectionPaths),
                         {RunPart::PollPaths}));
    for (int serial = 0; serial < SerialClassCount; ++serial)
        AddClassRuns(serialClasses[serial], serial, runs);
    for (int connection = 0; connection < TcpClassCount; ++connection)
        AddClassRuns(tcpClasses[connection], SerialClassCount + connection, runs);
    return runs;
}

bool ReadConfigRuns(GatewayConfig& config, const RunFetch& fetch, const PartRead& partRead) {
    for (int port = 0; port < SerialClassCount; ++port) {
        EepromRun run = RunToRead(PortSettingsBlock, PortSettingsAddress(port), PortSettingsBytes,
                                  {RunPart::PortSettings, port});
        if (!fetch(run)) return false;
        DecodePortSettings(Fixed<PortSettingsBytes>(run), config.SerialClasses[port]);
        Tell(partRead, run.Part);
    }
    EepromRun settings = RunToRead(SettingsBlock, 0, SettingsReadBytes, {RunPart::Settings});
    if (!fetch(settings)) return false;
    DecodeSettings(Fixed<SettingsReadBytes>(settings), config);
    Tell(partRead, settings.Part);
    // Without the marker blocks 8..11 are not read: the class records keep what they held.
    if (config.ConfigMarker != ConfigMarkerValid) return true;
    for (int serial = 0; serial < SerialClassCount; ++serial) {
        if (!ReadClass(config.SerialClasses[serial], serial, fetch)) return false;
        Tell(partRead, {RunPart::Class, serial});
    }
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        const int k = SerialClassCount + connection;
        if (!ReadClass(config.TcpClasses[connection], k, fetch)) return false;
        Tell(partRead, {RunPart::Class, k});
    }
    return true;
}

void DecodeImage(const EepromImage& image, GatewayConfig& config) {
    ReadConfigRuns(config, [&image](EepromRun& run) {
        const auto first = image.Blocks[run.Block].begin() + run.Address;
        std::copy_n(first, run.Bytes.size(), run.Bytes.begin());
        return true;
    });
}

void EncodeImage(const GatewayConfig& config, EepromImage& image) {
    for (const EepromRun& run : ConfigRuns(config))
        std::ranges::copy(run.Bytes, image.Blocks[run.Block].begin() + run.Address);
}

}  // namespace kv::eeprom
