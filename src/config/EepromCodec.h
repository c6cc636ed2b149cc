#pragma once
// Where each configuration field lies in the EEPROM and how it is encoded. One codec
// serves the read-out, the write-back, the factory reset, the CLI and the simulator.
//
// The baud rate in block 0 is least significant byte first; every multi-byte number in
// blocks 1 and 8..11 is most significant byte first. Doubles are rounded halves-to-even
// before they are split into bytes.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "config/EepromImage.h"
#include "config/GatewayConfig.h"

namespace kv::eeprom {

// Block 0: the port settings of COM1 at 0 and COM2 at 16, 8 bytes each.
inline constexpr int PortSettingsBlock = 0;
inline constexpr int PortSettingsBytes = 8;
constexpr int PortSettingsAddress(int port) { return 16 * port; }

// Block 1: firmware data, marker, DeviceNet settings, baud positions, poll paths.
inline constexpr int SettingsBlock = 1;
inline constexpr int SettingsReadBytes = 24;    // read as one run 0..23
inline constexpr int SettingsWriteAddress = 6;  // marker .. ComBaudIndex[1]
inline constexpr int SettingsWriteBytes = 6;
inline constexpr int PollPathsAddress = 16;  // PollProduce then PollConsume
inline constexpr int PollPathsBytes = 6;

// Blocks 8, 9: serial classes 0x65, 0x66.
inline constexpr int SerialHeaderBytes = 6;
constexpr int SerialClassBlock(int serialIndex) { return 8 + serialIndex; }
constexpr int SerialCommandAddress(int slot) { return 16 + 16 * slot; }

// Blocks 10, 11: TCP classes 0x67..0x6A, two per block at base 0 and base 128.
inline constexpr int TcpHeaderBytes = 18;
constexpr int TcpClassBlock(int connection) { return 10 + connection / 2; }
constexpr int TcpClassBase(int connection) { return (connection % 2) * 128; }
constexpr int TcpCommandAddress(int connection, int slot) {
    return TcpClassBase(connection) + 32 + 16 * slot;
}

inline constexpr int CommandBytes = 9;

// Decoding: one run of bytes as the read-out reads it, into the model's fields.
void DecodePortSettings(std::span<const uint8_t, PortSettingsBytes> bytes, SerialClassRecord& port);
void DecodeSettings(std::span<const uint8_t, SettingsReadBytes> bytes, GatewayConfig& config);
void DecodeSerialHeader(std::span<const uint8_t, SerialHeaderBytes> bytes,
                        SerialClassRecord& record);
void DecodeTcpHeader(std::span<const uint8_t, TcpHeaderBytes> bytes, TcpClassRecord& record);
void DecodeCommand(std::span<const uint8_t, CommandBytes> bytes, ModbusCommand& command);

// Encoding: the bytes of one run as the write-back writes it.
std::array<uint8_t, PortSettingsBytes> EncodePortSettings(const SerialClassRecord& port);
// Marker 436 (1, 180), NodeId, BaudIndex, ComBaudIndex[0], ComBaudIndex[1].
std::array<uint8_t, SettingsWriteBytes> EncodeSettings(const GatewayConfig& config);
std::array<uint8_t, PollPathsBytes> EncodePollPaths(const ConnectionPaths& paths);
std::array<uint8_t, SerialHeaderBytes> EncodeSerialHeader(const SerialClassRecord& record);
std::array<uint8_t, TcpHeaderBytes> EncodeTcpHeader(const TcpClassRecord& record);
std::array<uint8_t, CommandBytes> EncodeCommand(const ModbusCommand& command);

// Commands the read-out takes for a stored count: none unless 1..slots.
constexpr int CommandsToRead(int cmdCount, int slots) {
    return cmdCount >= 1 && cmdCount <= slots ? cmdCount : 0;
}

// The class records blocks 8..11 take: those read from the gateway (SerialClasses,
// TcpClasses), or the editor's working copy (EditSerialClasses, EditTcpClasses).
enum class ClassRecords { Read, Edited };

// The runs a write of `config` stores (marker 436), in the order the console writes them: the
// port settings, the marker with the DeviceNet settings and the baud positions, the poll
// paths, then each class's header and its commands. Every part of the configuration lies in
// its own run, so a write of fewer runs is a filter over them.
std::vector<EepromRun> ConfigRuns(const GatewayConfig& config,
                                  ClassRecords classes = ClassRecords::Read);

// Fills a run's bytes (it comes with its block, address and size); false ends the reading.
using RunFetch = std::function<bool(EepromRun& run)>;
// Told after each port's settings, after block 1 and after each class with its commands.
using PartRead = std::function<void(const RunPart& part)>;

// Reads a configuration run by run as a read-out does: blocks 0 and 1 (block 1 from address
// 0), then, under the marker, each class's header and the commands its count takes. Each run
// is decoded as soon as it is fetched, so a reading that ends early leaves what was decoded
// so far. Without the marker the classes keep what they held. False when a fetch failed.
bool ReadConfigRuns(GatewayConfig& config, const RunFetch& fetch, const PartRead& partRead = {});

// What a read-out of a gateway holding `image` decodes into `config`: ReadConfigRuns on the
// image. Fields the image does not hold (Ethernet) are kept.
void DecodeImage(const EepromImage& image, GatewayConfig& config);

// Writes the runs of ConfigRuns(config) into `image`, leaving every other address as it was.
void EncodeImage(const GatewayConfig& config, EepromImage& image);

}  // namespace kv::eeprom
