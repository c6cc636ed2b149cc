#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "MaximalConfig.h"
#include "config/EepromCodec.h"
#include "config/PortChecksum.h"

namespace kv {
namespace {

using namespace eeprom;
using Bytes = std::vector<int>;

template <std::size_t N>
Bytes AsInts(const std::array<uint8_t, N>& bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Slice(const EepromImage& image, int block, int first, int last) {
    const auto& b = image.Blocks[block];
    return Bytes(b.begin() + first, b.begin() + last + 1);
}

void Put(EepromImage& image, int block, int address, const Bytes& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        image.Blocks[block][address + i] = static_cast<uint8_t>(bytes[i]);
}

// The serial header and command bytes (time-out 1000, 115200, memory 300 / start 513 /
// length 10) are checked on the gateway by WriteBackTest; here the rest of the edges.
TEST(EepromCodec, SplitsNumbersInTheirByteOrder) {
    ModbusCommand command{1, 17, 3, 300, 513, 1920};
    EXPECT_EQ(AsInts(EncodeCommand(command)), (Bytes{1, 17, 3, 1, 44, 2, 1, 7, 128}));

    TcpClassRecord tcp;
    tcp.ConnValid = 1;
    tcp.ServerIp = {10, 0, 0, 9};
    tcp.ConnTimeout = 4294967295.0;
    tcp.RetryConnTimeout = 0x01020304;
    tcp.CmdTimeout = 256;
    tcp.CmdCount = 5;
    EXPECT_EQ(AsInts(EncodeTcpHeader(tcp)),
              (Bytes{1, 10, 0, 0, 9, 255, 255, 255, 255, 1, 2, 3, 4, 0, 0, 1, 0, 5}));

    // Halves round to even before the split, here up into the next byte.
    SerialClassRecord serial;
    serial.CmdTimeout = 2.5;
    EXPECT_EQ(EncodeSerialHeader(serial)[4], 2);
    serial.CmdTimeout = 255.5;
    EXPECT_EQ(AsInts(EncodeSerialHeader(serial)), (Bytes{0, 0, 0, 1, 0, 0}));
}

TEST(EepromCodec, DecodesRunsIntoTheModelsWidths) {
    TcpClassRecord tcp;
    const std::array<uint8_t, 18> header = {1,   10, 0, 0, 9, 255, 255, 255, 255,
                                            128, 0,  0, 0, 0, 0,   3,   232, 6};
    DecodeTcpHeader(header, tcp);
    EXPECT_EQ(tcp.ConnTimeout, 4294967295.0);  // unsigned, not -1
    EXPECT_EQ(tcp.RetryConnTimeout, 2147483648.0);
    EXPECT_EQ(tcp.CmdTimeout, 1000);
    EXPECT_EQ(tcp.CmdCount, 6);

    ModbusCommand command;
    DecodeCommand(std::array<uint8_t, 9>{1, 247, 16, 7, 255, 255, 255, 7, 128}, command);
    EXPECT_EQ(command, (ModbusCommand{1, 247, 16, 2047, 65535, 1920}));
}

// The window tests check 57600/8/odd/2 gives 237; here that the old check byte stays out.
TEST(EepromCodec, PortChecksumLeavesTheOldCheckByteOut) {
    SerialClassRecord port;
    port.Baud = 9600;
    port.DataBits = 8;
    port.Parity = 1;
    port.StopBits = 1;
    port.PortChecksum = 99;
    EXPECT_EQ(ComputePortChecksum(port), 175);
}

TEST(EepromImageCodec, MaximalConfigurationSurvivesWriteAndReadOut) {
    const GatewayConfig original = test::MaximalConfig();
    EepromImage image;
    Put(image, SettingsBlock, 0, {1, 3, 15, 7, 7, 217});  // the controller's firmware bytes
    EncodeImage(original, image);

    GatewayConfig read;
    read.EthernetParams = original.EthernetParams;  // not held by the EEPROM
    DecodeImage(image, read);
    test::ExpectSameStoredFields(read, original);
}

TEST(EepromImageCodec, PlacesClassesAndCommandsAtTheirAddresses) {
    GatewayConfig config = test::MaximalConfig();
    config.TcpClasses[3].Commands[4] = {1, 2, 3, 300, 513, 1920};
    EepromImage image;
    EncodeImage(config, image);

    EXPECT_EQ(Slice(image, 11, 224, 232), (Bytes{1, 2, 3, 1, 44, 2, 1, 7, 128}));
    EXPECT_EQ(Slice(image, 11, 128 + 17, 128 + 17), Bytes{5});
    EXPECT_EQ(Slice(image, 1, 6, 11), (Bytes{1, 180, 63, 2, 7, 6}));
    EXPECT_EQ(Slice(image, 1, 16, 21), (Bytes{0x64, 2, 3, 0x65, 4, 5}));
    EXPECT_EQ(Slice(image, 0, 16, 19), (Bytes{0, 225, 0, 0}));  // 57600, least significant first
    EXPECT_EQ(Slice(image, 9, 160, 160), Bytes{1});             // tenth command of COM2
}

// Every address the write-back writes, by block.
std::set<std::pair<int, int>> WrittenAddresses(const GatewayConfig& config) {
    std::set<std::pair<int, int>> written;
    const auto run = [&](int block, int first, int count) {
        for (int a = first; a < first + count; ++a) written.insert({block, a});
    };
    run(0, 0, 8);
    run(0, 16, 8);
    run(1, 6, 6);
    run(1, 16, 6);
    for (int s = 0; s < SerialClassCount; ++s) {
        run(8 + s, 0, 6);
        for (int i = 1; i <= std::min<int>(config.SerialClasses[s].CmdCount, 10); ++i)
            run(8 + s, 16 * i, 9);
    }
    for (int t = 0; t < TcpClassCount; ++t) {
        const int base = 128 * (t % 2);
        run(10 + t / 2, base, 18);
        for (int j = 0; j < std::min<int>(config.TcpClasses[t].CmdCount, 5); ++j)
            run(10 + t / 2, base + 32 + 16 * j, 9);
    }
    return written;
}

TEST(EepromImageCodec, LeavesEveryOtherAddressAlone) {
    GatewayConfig config = test::MaximalConfig();
    config.SerialClasses[1].CmdCount = 3;
    config.TcpClasses[0].CmdCount = 0;
    config.TcpClasses[3].CmdCount = 200;  // more than the slots: writes the five it holds
    EepromImage image;
    for (auto& block : image.Blocks) block.fill(0xA5);
    EncodeImage(config, image);

    const auto written = WrittenAddresses(config);
    int changed = 0;
    for (int block = 0; block < EepromBlockCount; ++block) {
        for (int address = 0; address < EepromBlockSize; ++address) {
            const uint8_t value = image.Blocks[block][address];
            if (written.count({block, address}) == 0) {
                EXPECT_EQ(value, 0xA5) << "block " << block << " address " << address;
            }
            changed += value != 0xA5;
        }
    }
    EXPECT_GT(changed, int(written.size()) / 2);  // the writes did land
}

TEST(EepromImageCodec, ClassBlocksAreReadOnlyUnderTheMarker) {
    EepromImage image;
    EncodeImage(test::MaximalConfig(), image);

    GatewayConfig previous;
    previous.SerialClasses[0].CmdTimeout = 77;
    previous.TcpClasses[2].Commands[1].NetId = 9;
    for (const Bytes& marker : {Bytes{0, 0}, Bytes{180, 1}, Bytes{1, 181}}) {
        Put(image, SettingsBlock, 6, marker);
        GatewayConfig read = previous;
        DecodeImage(image, read);
        EXPECT_EQ(read.ConfigMarker, marker[0] * 256 + marker[1]);
        EXPECT_EQ(read.SerialClasses[0].CmdTimeout, 77);  // class attributes kept
        EXPECT_EQ(read.SerialClasses[0].CmdCount, 0);
        EXPECT_EQ(read.TcpClasses[2], previous.TcpClasses[2]);
        EXPECT_EQ(read.SerialClasses[0].Baud, 115200);  // port settings always read
        EXPECT_EQ(read.DeviceNetParams.NodeId, 63);
    }

    Put(image, SettingsBlock, 6, {1, 180});
    GatewayConfig read = previous;
    DecodeImage(image, read);
    EXPECT_EQ(read.SerialClasses[0].CmdTimeout, 65535);
    EXPECT_EQ(read.TcpClasses[2], test::MaximalConfig().TcpClasses[2]);
}

TEST(EepromImageCodec, CountsOutsideTheSlotsReadNoCommands) {
    EepromImage image;
    EncodeImage(test::MaximalConfig(), image);
    Put(image, SerialClassBlock(0), 5, {0});
    Put(image, SerialClassBlock(1), 5, {11});
    Put(image, TcpClassBlock(1), TcpClassBase(1) + 17, {6});

    GatewayConfig read;
    read.SerialClasses[1].Commands[0].NetId = 99;
    DecodeImage(image, read);
    EXPECT_EQ(read.SerialClasses[0].CmdCount, 0);
    EXPECT_EQ(read.SerialClasses[1].CmdCount, 11);  // the count itself is kept
    EXPECT_EQ(read.TcpClasses[1].CmdCount, 6);
    EXPECT_EQ(read.SerialClasses[0].Commands[0], ModbusCommand{});
    EXPECT_EQ(read.SerialClasses[1].Commands[0].NetId, 99);  // slots keep what they held
    EXPECT_EQ(read.TcpClasses[1].Commands[4], ModbusCommand{});
    EXPECT_EQ(read.TcpClasses[0].Commands[4], test::MaximalConfig().TcpClasses[0].Commands[4]);
}

}  // namespace
}  // namespace kv
