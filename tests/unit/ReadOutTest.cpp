// The read-out against the console emulator, in simulated time.

#include <gtest/gtest.h>

#include "MaximalConfig.h"
#include "config/EepromCodec.h"
#include "console/ReadOut.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"

namespace kv::test {
namespace {

class ReadOut : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gateway.Port.Open().ok()); }

    ReadOutResult Read() {
        progress.clear();
        return ReadGateway(link, config, [this](int value) { progress.push_back(value); });
    }

    bool Received(const QString& line) const { return gateway.LinesReceived().contains(line); }

    // The lines sent while `block` was selected.
    QStringList LinesInBlock(int block) const {
        QStringList lines;
        int selected = -1;
        for (const QString& line : gateway.LinesReceived()) {
            if (line == u"quit") selected = -1;
            if (line.startsWith(u"block "))
                selected = line.mid(6).toInt();
            else if (selected == block)
                lines << line;
        }
        return lines;
    }

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    GatewayConfig config;
    std::vector<int> progress;
};

TEST_F(ReadOut, ReadsAMaximalConfigurationIntoTheModel) {
    const GatewayConfig stored = MaximalConfig();
    eeprom::EncodeImage(stored, gateway.Console.Eeprom);
    const EepromImage before = gateway.Console.Eeprom;
    gateway.Console.Network = {"10.1.2.3", "255.255.0.0", "10.1.0.254"};

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(link.ControllerPrompt, "q5308RT>");
    EXPECT_EQ(config.EthernetParams, (EthernetParams{"10.1.2.3", "255.255.0.0", "10.1.0.254"}));
    EXPECT_EQ(config.DeviceNetParams, stored.DeviceNetParams);
    EXPECT_EQ(config.ComBaudIndex, stored.ComBaudIndex);
    EXPECT_EQ(config.ConnectionPaths, stored.ConnectionPaths);
    EXPECT_EQ(config.ConfigMarker, ConfigMarkerValid);
    EXPECT_EQ(config.SerialClasses, stored.SerialClasses);
    EXPECT_EQ(config.TcpClasses, stored.TcpClasses);
    EXPECT_EQ(progress, (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(gateway.LinesReceived().last(), "quit");
    EXPECT_TRUE(gateway.Console.Eeprom == before) << "every byte was only looked at";
}

TEST_F(ReadOut, ReadsTheFirmwareOfEachKnownController) {
    for (auto model : {sim::ControllerModel::VMar5308RtLan, sim::ControllerModel::Klt400}) {
        SimulatedGateway other(model);
        other.Console.Eeprom = sim::FactoryImage();
        ASSERT_TRUE(other.Port.Open().ok());
        ConsoleLink otherLink(other.Port, other.Clock);
        GatewayConfig read;
        ASSERT_EQ(ReadGateway(otherLink, read, [](int) {}), ReadOutResult::Ok);
        EXPECT_EQ(otherLink.ControllerPrompt, sim::ModelName(model) + ">");
        EXPECT_EQ(read.FirmwareInfo, (FirmwareInfo{1, 3, 2009, 7, 15}));
    }
}

TEST_F(ReadOut, WithoutTheMarkerOnlyBlocksZeroAndOneAreReadAndClassesKeepTheirValues) {
    gateway.Console.Eeprom = sim::FactoryImage();
    config.SerialClasses[1].ConnMode = 2;
    config.SerialClasses[1].Commands[3].NetId = 99;
    config.TcpClasses[2].ServerIp = {1, 2, 3, 4};
    const auto classesBefore = config.TcpClasses;

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(config.ConfigMarker, 0);
    EXPECT_EQ(config.SerialClasses[1].ConnMode, 2);
    EXPECT_EQ(config.SerialClasses[1].Commands[3].NetId, 99);
    EXPECT_EQ(config.TcpClasses, classesBefore);
    EXPECT_EQ(config.SerialClasses[0].Baud, 115200);  // port settings are refreshed
    EXPECT_FALSE(Received("block 8"));
    EXPECT_FALSE(Received("block 10"));
    EXPECT_EQ(progress, (std::vector<int>{1, 1, 2, 3, 9}));
}

TEST_F(ReadOut, CountsOutsideTheSlotsReadNoCommands) {
    GatewayConfig stored = MaximalConfig();
    stored.SerialClasses[0].CmdCount = 11;
    stored.SerialClasses[1].CmdCount = 0;
    eeprom::EncodeImage(stored, gateway.Console.Eeprom);
    // The encoder bounds counts to the slots; put the raw counts into the headers.
    gateway.Console.Eeprom.Blocks[8][5] = 11;
    gateway.Console.Eeprom.Blocks[10][17] = 6;        // TCP class 0x67
    gateway.Console.Eeprom.Blocks[10][128 + 17] = 6;  // TCP class 0x68

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(config.SerialClasses[0].CmdCount, 11);
    EXPECT_EQ(config.TcpClasses[0].CmdCount, 6);
    EXPECT_EQ(LinesInBlock(8).size(), 6 + 1);  // header bytes and "."
    EXPECT_EQ(LinesInBlock(9).size(), 6 + 1);
    EXPECT_EQ(LinesInBlock(10).size(), 2 * (18 + 1));  // two headers, no commands
    EXPECT_EQ(LinesInBlock(11).size(), 2 * (18 + 1 + 5 * (9 + 1)));
    EXPECT_EQ(config.SerialClasses[0].Commands[0], ModbusCommand{});
}

TEST_F(ReadOut, AGatewayThatStopsAnsweringInsideBlockNineKeepsWhatWasRead) {
    const GatewayConfig stored = MaximalConfig();
    eeprom::EncodeImage(stored, gateway.Console.Eeprom);
    // Count the lines up to the first command of block 9, then let the console die there.
    {
        SimulatedGateway probe;
        probe.Console.Eeprom = gateway.Console.Eeprom;
        ASSERT_TRUE(probe.Port.Open().ok());
        ConsoleLink probeLink(probe.Port, probe.Clock);
        GatewayConfig ignored;
        ReadGateway(probeLink, ignored, [](int) {});
        const QStringList lines = probe.LinesReceived();
        const int block9 = int(lines.indexOf("block 9"));
        gateway.Console.Faults.StopAfterLines = block9 + 1 + 6 + 1 + 3;
    }
    const uint32_t started = gateway.Clock.Milliseconds();

    ASSERT_EQ(Read(), ReadOutResult::Timeout);

    EXPECT_EQ(config.SerialClasses[0], stored.SerialClasses[0]);  // block 8 complete
    EXPECT_EQ(config.SerialClasses[1].CmdCount, stored.SerialClasses[1].CmdCount);  // header read
    EXPECT_EQ(config.SerialClasses[1].Commands[0], ModbusCommand{});  // its commands not
    EXPECT_EQ(config.TcpClasses[0], TcpClassRecord{});
    EXPECT_EQ(progress.back(), 4);
    // The console went silent: the read-out gave up after one reply time-out.
    EXPECT_LT(gateway.Clock.Milliseconds() - started, 20000u);
}

TEST_F(ReadOut, AGarbledReplyIsATimeout) {
    gateway.Console.Eeprom = sim::FactoryImage();
    gateway.Console.Faults.GarbleAfterLines = 3;
    EXPECT_EQ(Read(), ReadOutResult::Timeout);
}

// Blanks that never stop after a reply must not hold the read-out past its time-outs.
TEST_F(ReadOut, AReplyThatNeverEndsDoesNotHang) {
    gateway.Console.Eeprom = sim::FactoryImage();
    gateway.Console.Faults.NeverQuietAfterLines = 8;
    const uint64_t startUs = gateway.Clock.Microseconds();
    const ReadOutResult result = Read();
    EXPECT_TRUE(result == ReadOutResult::Ok || result == ReadOutResult::Timeout);
    EXPECT_LT(gateway.Clock.Microseconds() - startUs, 5'000'000u);
}

TEST_F(ReadOut, AnEmptyAddressIsReadAsAnEmptyText) {
    gateway.Console.Eeprom = sim::FactoryImage();
    gateway.Console.Network.Ip.clear();
    EXPECT_EQ(Read(), ReadOutResult::Ok);
    EXPECT_EQ(config.EthernetParams.Ip, "");
}

TEST_F(ReadOut, AnUnpluggedAdapterEndsInATimeout) {
    gateway.Console.Eeprom = sim::FactoryImage();
    gateway.Port.EachWait = [this] {
        if (gateway.LinesReceived().size() == 12) gateway.Unplug();
    };
    EXPECT_EQ(Read(), ReadOutResult::Timeout);
}

TEST(ReadOutOfAForeignController, StopsBeforeAnySettingIsAsked) {
    SimulatedGateway foreign(sim::ControllerModel::Foreign);
    ASSERT_TRUE(foreign.Port.Open().ok());
    ConsoleLink foreignLink(foreign.Port, foreign.Clock);
    GatewayConfig read;
    EXPECT_EQ(ReadGateway(foreignLink, read, [](int) {}), ReadOutResult::UnknownController);
    EXPECT_EQ(foreign.LinesReceived(), (QStringList{"", "", "", ".", "quit", "", ""}));
}

TEST(IdentifyController, LooksForTheNamesInTheirOrder) {
    EXPECT_EQ(IdentifyController("  vMAR-5308RT_LAN q5308RT "), "vMAR-5308RT_LAN");
    EXPECT_EQ(IdentifyController("\r\nq5308RT"), "q5308RT");
    EXPECT_EQ(IdentifyController("KLT-400"), "KLT-400");
    EXPECT_EQ(IdentifyController("Q5308RT"), "");
    EXPECT_EQ(IdentifyController(""), "");
}

}  // namespace
}  // namespace kv::test
