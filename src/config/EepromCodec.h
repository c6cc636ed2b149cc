#pragma once
// Where each configuration field lies in the EEPROM and how it is encoded. One codec
// serves the read-out, the write-back, the factory reset, the CLI and the simulator.
//
// The baud rate in block 0 is least significant byte first; every multi-byte number in
// blocks 1 and 8..11 is most significant byte first. Doubles are rounded halves-to-even
// before they are split into bytes.

#include <array>
#include <cstdint>
#include <span>

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

// What a read-out of a gateway holding `image` decodes into `config`: the same runs,
// the same marker and count rules. Fields the image does not hold (Ethernet) are kept.
void DecodeImage(const EepromImage& image, GatewayConfig& config);

// Writes the configuration runs of `config` (SerialClasses, TcpClasses, ConnectionPaths,
// marker 436) into `image`, leaving every other address as it was.
void EncodeImage(const GatewayConfig& config, EepromImage& image);

}  // namespace kv::eeprom
