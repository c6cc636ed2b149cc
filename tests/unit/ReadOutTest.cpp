// The read-out against the console emulator, in simulated time.

#include <gtest/gtest.h>

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

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    GatewayConfig config;
    std::vector<int> progress;
};

TEST_F(ReadOut, ReadsAMaximalConfigurationIntoTheModel) {
    const GatewayConfig stored = sim::MaximalConfig();
    gateway.Console.Eeprom = sim::MaximalImage();
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
    EXPECT_TRUE(gateway.Console.Eeprom == sim::MaximalImage()) << "every byte was only looked at";
}

// The other controllers' names: IdentifyController below; a whole read-out of the KLT-400:
// GatewaySimProgramTest; a foreign controller: MainWindowConnectTest.

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

// Which counts are believed: EepromCodecTest; here that no command is asked for.
TEST_F(ReadOut, CountsOutsideTheSlotsReadNoCommands) {
    gateway.Console.Eeprom = sim::MaximalImage();
    gateway.Console.Eeprom.Blocks[8][5] = 11;

    ASSERT_EQ(Read(), ReadOutResult::Ok);

    EXPECT_EQ(config.SerialClasses[0].CmdCount, 11);
    EXPECT_EQ(config.SerialClasses[0].Commands[0], ModbusCommand{});
    // Block 8 sends its header only: each byte, then ".".
    const QStringList lines = gateway.LinesReceived();
    EXPECT_EQ(lines.indexOf("block 9") - lines.indexOf("block 8"), 1 + 6 + 1);
}

TEST_F(ReadOut, AGatewayThatStopsAnsweringInsideBlockNineKeepsWhatWasRead) {
    const GatewayConfig stored = sim::MaximalConfig();
    gateway.Console.Eeprom = sim::MaximalImage();
    // The console dies after the header of block 9 and three bytes of its first command.
    sim::ConsoleEmulator& console = gateway.Console;
    gateway.Port.EachWait = [&console] {
        if (console.Faults.StopAfterLines < 0 && console.ReceivedLines().contains("block 9"))
            console.Faults.StopAfterLines = console.LinesReceived() + 6 + 1 + 3;
    };

    ASSERT_EQ(Read(), ReadOutResult::Timeout);

    EXPECT_EQ(config.SerialClasses[0], stored.SerialClasses[0]);      // block 8 complete
    EXPECT_EQ(config.SerialClasses[1].CmdCount, 10);                  // header read
    EXPECT_EQ(config.SerialClasses[1].Commands[0], ModbusCommand{});  // its commands not
    EXPECT_EQ(config.TcpClasses[0], TcpClassRecord{});
    EXPECT_EQ(progress.back(), 4);
}

// Garbled replies, blanks that never stop after a reply and a pulled cable all end the
// read-out in simulated time; an empty address is read as an empty text.
TEST(ReadOutFaults, EndInATimeWithoutHanging) {
    const struct {
        int Garble, NeverQuiet, UnplugAt;
        QString Ip;
        ReadOutResult Result;
        QString ReadIp;
    } rows[] = {{3, -1, -1, "10.0.0.1", ReadOutResult::Timeout, "1.2.3.4"},
                {-1, 8, -1, "10.0.0.1", ReadOutResult::Ok, "10.0.0.1"},
                {-1, -1, 12, "10.0.0.1", ReadOutResult::Timeout, "10.0.0.1"},
                {-1, -1, -1, "", ReadOutResult::Ok, ""}};
    for (const auto& row : rows) {
        SimulatedGateway gateway;
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

TEST(ReadOutFaults, AForeignControllerEndsTheReadOutBeforeAnyQuestion) {
    SimulatedGateway gateway(sim::ControllerModel::Foreign);
    ASSERT_TRUE(gateway.Port.Open().ok());
    ConsoleLink link(gateway.Port, gateway.Clock);
    GatewayConfig read;
    EXPECT_EQ(ReadGateway(link, read, {}), ReadOutResult::UnknownController);
    EXPECT_FALSE(gateway.LinesReceived().contains("ip"));
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
