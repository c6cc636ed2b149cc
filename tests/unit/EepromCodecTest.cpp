#include <gtest/gtest.h>

#include <vector>

#include "config/EepromCodec.h"
#include "sim/DemoImages.h"

namespace kv {
namespace {

using namespace eeprom;
using Bytes = std::vector<int>;

template <std::size_t N>
Bytes AsInts(const std::array<uint8_t, N>& bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

Bytes Slice(const EepromImage& image, int block, int first, int count) {
    const auto& b = image.Blocks[block];
    return Bytes(b.begin() + first, b.begin() + first + count);
}

// The serial header and command bytes (time-out 1000, 115200, memory 300 / start 513 /
// length 10) are checked on the gateway by WriteBackTest; here the rest of the edges.
TEST(EepromCodec, SplitsNumbersInTheirByteOrder) {
    ModbusCommand command{1, 17, 3, 300, 513, 1920};
    EXPECT_EQ(AsInts(EncodeCommand(command)), (Bytes{1, 17, 3, 1, 44, 2, 1, 7, 128}));

    const TcpClassRecord tcp{1, {10, 0, 0, 9}, 4294967295.0, 0x01020304, 256, 5};
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

// The port check byte, leaving the old one out: ConfigJsonTest and ParameterChecksTest.

// The simulator's maximal configuration: every slot used, command n (0..39) with ID n+1,
// function code FunctionCodes[n % 8], memory 40n, start 100n; TCP servers 192.168.0.10+t.
TEST(EepromImageCodec, PlacesEveryRunAtItsAddressAndReadsItBack) {
    EepromImage image;
    EncodeImage(sim::MaximalConfig(), image);
    const struct {
        int Block, Address;
        Bytes Expected;
    } rows[] = {
        {0, 0, {0, 194, 1, 0, 8, 0, 1, 204}},  // 115200, least significant first
        {0, 16, {0, 194, 1, 0, 8, 0, 1, 204}},
        {1, 6, {1, 180, 63, 2, 7, 7}},
        {1, 16, {0x65, 1, 0x0B, 0x65, 5, 0x0B}},
        {8, 0, {1, 0, 0, 3, 232, 10}},
        {8, 16, {1, 1, 1, 0, 0, 0, 0, 0, 16}},
        {9, 0, {2, 0, 0, 3, 232, 10}},
        {9, 160, {1, 20, 4, 2, 248, 7, 108, 0, 4}},  // tenth command of COM2
        {10, 128, {1, 192, 168, 0, 11, 0, 0, 11, 184, 0, 0, 39, 16, 0, 0, 3, 232, 5}},
        {11, 128 + 17, {5}},
        {11, 224, {1, 40, 16, 6, 24, 15, 60, 0, 4}},  // fifth command of server 4
    };
    for (const auto& row : rows)
        EXPECT_EQ(Slice(image, row.Block, row.Address, int(row.Expected.size())), row.Expected)
            << "block " << row.Block << " address " << row.Address;
    // The settings read back: ClassBlocksAreReadOnlyUnderTheMarker and ReadOutTest.
    GatewayConfig read;
    DecodeImage(image, read);
    EXPECT_EQ(read.SerialClasses, sim::MaximalConfig().SerialClasses);
    EXPECT_EQ(read.TcpClasses, sim::MaximalConfig().TcpClasses);
}

TEST(EepromImageCodec, LeavesEveryOtherAddressAlone) {
    GatewayConfig config = sim::MaximalConfig();
    config.SerialClasses[1].CmdCount = 3;
    config.TcpClasses[0].CmdCount = 0;
    config.TcpClasses[3].CmdCount = 200;  // more than the slots: writes the five it holds
    // The addresses an encoding into two differently filled images leaves different.
    EepromImage first;
    EepromImage second;
    for (auto& block : first.Blocks) block.fill(0xA5);
    for (auto& block : second.Blocks) block.fill(0x5A);
    EncodeImage(config, first);
    EncodeImage(config, second);
    int kept = 0;
    for (int block = 0; block < EepromBlockCount; ++block)
        for (int address = 0; address < EepromBlockSize; ++address)
            kept += first.Blocks[block][address] != second.Blocks[block][address];
    // Written: ports 16, settings and paths 12, COM1 6 + 10 * 9, COM2 6 + 3 * 9, servers
    // 4 * 18 + (0 + 5 + 5 + 5) * 9.
    EXPECT_EQ(kept, 16 * 256 - (16 + 12 + 96 + 33 + 72 + 135));
    EXPECT_EQ(Slice(first, 9, 16 + 16 * 3, 1), Bytes{0xA5});
    EXPECT_EQ(Slice(first, 10, 32, 1), Bytes{0xA5});
    EXPECT_EQ(Slice(first, 11, 128 + 17, 1), Bytes{200});
}

// Without the marker the class blocks are not read: the records keep what they held. With
// it, a count outside the slots is kept but reads no commands.
TEST(EepromImageCodec, ClassBlocksAreReadOnlyUnderTheMarkerAndOnlyTheCountedSlots) {
    EepromImage image = sim::MaximalImage();
    image.Blocks[SerialClassBlock(0)][5] = 0;
    image.Blocks[SerialClassBlock(1)][5] = 11;
    image.Blocks[TcpClassBlock(1)][TcpClassBase(1) + 17] = 6;
    GatewayConfig previous;
    previous.SerialClasses[1].CmdTimeout = 77;
    previous.SerialClasses[1].Commands[0].NetId = 99;
    const struct {
        int Marker0, Marker1, Count1, TcpCount1, Timeout1;
    } rows[] = {{1, 180, 11, 6, 1000}, {0, 0, 0, 0, 77}, {180, 1, 0, 0, 77}, {1, 181, 0, 0, 77}};
    for (const auto& row : rows) {
        image.Blocks[SettingsBlock][6] = uint8_t(row.Marker0);
        image.Blocks[SettingsBlock][7] = uint8_t(row.Marker1);
        GatewayConfig read = previous;
        DecodeImage(image, read);
        EXPECT_EQ(read.ConfigMarker, row.Marker0 * 256 + row.Marker1);
        EXPECT_EQ(read.SerialClasses[1].CmdCount, row.Count1);
        EXPECT_EQ(read.TcpClasses[1].CmdCount, row.TcpCount1);
        EXPECT_EQ(read.SerialClasses[1].CmdTimeout, row.Timeout1);
        EXPECT_EQ(read.SerialClasses[1].Commands[0].NetId, 99);  // slots keep what they held
        EXPECT_EQ(read.SerialClasses[0].Commands[0], ModbusCommand{});
        EXPECT_EQ(read.TcpClasses[1].Commands[4], ModbusCommand{});
        EXPECT_EQ(read.SerialClasses[0].Baud, 115200);  // port settings always read
        EXPECT_EQ(read.DeviceNetParams.NodeId, 63);
    }
}

}  // namespace
}  // namespace kv
