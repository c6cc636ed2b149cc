// How the gateway's EEPROM becomes the model and back: the byte runs of the codec at their
// edges, the image codec's marker and count rules, and the read-out against the console
// emulator, in simulated time.

#include <gtest/gtest.h>

#include <vector>

#include "config/EepromCodec.h"
#include "console/ReadOut.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"

namespace kv {
namespace {

using test::SimulatedGateway;

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

// The port check byte, leaving the old one out: ConfigJson and SettingLimits.

// Where each run lies is checked on the gateway by WriteBackTest, and against the read-out
// by ReadOut.ReadsAMaximalConfigurationIntoTheModel; here that the image decoder reads what
// the encoder placed.
TEST(EepromImageCodec, ReadsBackWhatItPlaced) {
    EepromImage image;
    EncodeImage(sim::MaximalConfig(), image);
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

class ReadOut : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gateway.Port.Open().ok()); }

    ReadOutResult Read() {
        return ReadGateway(link, config, [this](int value) { progress.push_back(value); });
    }

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    GatewayConfig config;
    std::vector<int> progress;
};

// COM1's count lies outside its slots: which counts are believed is EepromImageCodec's; here
// that no command is asked for.
TEST_F(ReadOut, ReadsAMaximalConfigurationIntoTheModel) {
    GatewayConfig stored = sim::MaximalConfig();
    stored.SerialClasses[0].CmdCount = 11;
    stored.SerialClasses[0].Commands = {};
    gateway.Console.Eeprom = sim::MaximalImage();
    gateway.Console.Eeprom.Blocks[8][5] = 11;
    const EepromImage image = gateway.Console.Eeprom;
    gateway.Console.Network = {"10.1.2.3", "255.255.0.0", "10.1.0.254"};

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(link.ControllerPrompt, "q5308RT>");
    EXPECT_EQ(config.EthernetParams, (EthernetParams{"10.1.2.3", "255.255.0.0", "10.1.0.254"}));
    EXPECT_EQ(config.FirmwareInfo, (FirmwareInfo{1, 3, 2009, 7, 15}));
    EXPECT_EQ(config.DeviceNetParams, stored.DeviceNetParams);
    EXPECT_EQ(config.ComBaudIndex, stored.ComBaudIndex);
    EXPECT_EQ(config.ConnectionPaths, stored.ConnectionPaths);
    EXPECT_EQ(config.SerialClasses, stored.SerialClasses);
    EXPECT_EQ(config.TcpClasses, stored.TcpClasses);
    EXPECT_EQ(progress, (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(gateway.LinesReceived().last(), "quit");
    // Block 8 sends its header only: each byte, then ".".
    const QStringList lines = gateway.LinesReceived();
    EXPECT_EQ(lines.indexOf("block 9") - lines.indexOf("block 8"), 1 + 6 + 1);
    EXPECT_TRUE(gateway.Console.Eeprom == image) << "every byte was only looked at";
}

// The other controllers' names: IdentifyController below; a whole read-out of the KLT-400:
// GatewaySimProgramTest; a foreign controller: ReadOutFaults below.

TEST_F(ReadOut, WithoutTheMarkerOnlyBlocksZeroAndOneAreReadAndClassesKeepTheirValues) {
    gateway.Console.Eeprom = sim::FactoryImage();
    config.SerialClasses[1].ConnMode = 2;
    config.TcpClasses[2].ServerIp = {1, 2, 3, 4};
    const auto classesBefore = config.TcpClasses;

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(config.ConfigMarker, 0);
    EXPECT_EQ(config.SerialClasses[1].ConnMode, 2);
    EXPECT_EQ(config.TcpClasses, classesBefore);
    EXPECT_EQ(config.SerialClasses[0].Baud, 115200);  // port settings are refreshed
    EXPECT_FALSE(gateway.LinesReceived().contains("block 8"));
    EXPECT_EQ(progress, (std::vector<int>{1, 1, 2, 3, 9}));
}

// The console falls silent inside block 9 (COM2's commands): the read-out ends there.
TEST_F(ReadOut, AGatewayThatStopsAnsweringInsideAClassEndsTheReadOutThere) {
    gateway.Console.Eeprom = sim::MaximalImage();
    gateway.Console.Faults.StopAfterLines = 175;

    ASSERT_EQ(Read(), ReadOutResult::Timeout);
    EXPECT_EQ(progress.back(), 4);
}

// Garbled replies, blanks that never stop after a reply and a pulled cable all end the
// read-out in simulated time; so does an address that is not four dotted numbers (blanks
// around one are not part of it); a foreign controller ends the read-out before any question.
TEST(ReadOutFaults, EndInATimeWithoutHanging) {
    using enum sim::ControllerModel;
    const struct {
        sim::ControllerModel Model;
        int Garble, NeverQuiet, UnplugAt;
        QString Ip;
        ReadOutResult Result;
        QString ReadIp;
    } rows[] = {{Q5308RT, 3, -1, -1, "10.0.0.1", ReadOutResult::Timeout, "1.2.3.4"},
                {Q5308RT, -1, 8, -1, " 10.0.0.1 ", ReadOutResult::Ok, "10.0.0.1"},
                {Q5308RT, -1, -1, 12, "10.0.0.1", ReadOutResult::Timeout, "10.0.0.1"},
                {Q5308RT, -1, -1, -1, "", ReadOutResult::Timeout, "1.2.3.4"},
                {Q5308RT, -1, -1, -1, "10.0.0.1\n", ReadOutResult::Timeout, "1.2.3.4"},
                {Foreign, -1, -1, -1, "10.0.0.1", ReadOutResult::UnknownController, "1.2.3.4"}};
    for (const auto& row : rows) {
        SimulatedGateway gateway(row.Model);
        gateway.Console.Faults.GarbleAfterLines = row.Garble;
        gateway.Console.Faults.NeverQuietAfterLines = row.NeverQuiet;
        gateway.Console.Network.Ip = row.Ip;
        gateway.Port.EachWait = [&gateway, at = row.UnplugAt] {
            if (gateway.LinesReceived().size() == at) gateway.Unplug();
        };
        ASSERT_TRUE(gateway.Port.Open().ok());
        ConsoleLink link(gateway.Port, gateway.Clock);
        GatewayConfig read;
        read.EthernetParams.Ip = "1.2.3.4";
        const uint64_t startUs = gateway.Clock.Microseconds();
        EXPECT_EQ(ReadGateway(link, read, [](int) {}), row.Result) << row.Garble << row.UnplugAt;
        EXPECT_LT(gateway.Clock.Microseconds() - startUs, 5'000'000u);
        EXPECT_EQ(read.EthernetParams.Ip, row.ReadIp);
    }
}

// "." closes an EEPROM edit left open, which ends at the block prompt; at the main prompt
// the console only shows that prompt again. Either way no line waits out its time-out.
TEST(RecoverConsole, EndsEveryLineAtThePromptItGets) {
    const QStringList leftIn[] = {{}, {"use eeprom", "block 0"}, {"use eeprom", "block 0", "e 3"}};
    for (const QStringList& lines : leftIn) {
        SimulatedGateway gateway;
        ASSERT_TRUE(gateway.Port.Open().ok());
        ConsoleLink link(gateway.Port, gateway.Clock);
        for (const QString& line : lines) link.SendCommand(line, QStringList{"]", ">"});
        const uint64_t startUs = gateway.Clock.Microseconds();
        EXPECT_TRUE(RecoverConsole(link)) << lines.join(", ").toStdString();
        EXPECT_LT(gateway.Clock.Microseconds() - startUs, 100'000u)
            << lines.join(", ").toStdString();
    }
}

TEST(IdentifyController, LooksForTheNamesInTheirOrder) {
    EXPECT_EQ(IdentifyController("  vMAR-5308RT_LAN q5308RT "), "vMAR-5308RT_LAN");
    EXPECT_EQ(IdentifyController("\r\nq5308RT"), "q5308RT");
    EXPECT_EQ(IdentifyController("KLT-400"), "KLT-400");
    EXPECT_EQ(IdentifyController("Q5308RT"), "");
    EXPECT_EQ(IdentifyController(""), "");
}

}  // namespace
}  // namespace kv
