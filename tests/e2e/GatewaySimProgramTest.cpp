// kv9052r-gateway-sim as a user runs it: a pseudo-terminal published as COM n, reached
// through QSerialPort, opened and closed again and again, its EEPROM kept in a file.

#include <gtest/gtest.h>

#include <QFileInfo>

#include "SimulatorProcess.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/PortNaming.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

namespace kv {
namespace {

class GatewaySimProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureCoreApplication(); }

    void Start(const QStringList& arguments) { simulator.Start(arguments); }
    void Stop() { simulator.Stop(); }

    test::SimulatorProcess simulator;
    QtSerialPort port;
    SteadyClock clock;
    ConsoleLink link{port, clock};
};

TEST_F(GatewaySimProgram, ServesOneClientAfterAnotherOnItsComPort) {
    Start({"--com", "7", "--model", "KLT-400", "--demo"});
    EXPECT_EQ(QFileInfo(ComLinkPath(7)).symLinkTarget(), simulator.Device);
    port.SelectPort(7);
    for (int client = 0; client < 3; ++client) {
        ASSERT_TRUE(port.Open().ok()) << "client " << client;
        GatewayConfig config;
        EXPECT_EQ(ReadGateway(link, config, [](int) {}), ReadOutResult::Ok) << "client " << client;
        EXPECT_EQ(link.ControllerPrompt, "KLT-400>");
        EXPECT_EQ(config.ConfigMarker, ConfigMarkerValid);
        port.Close();
    }
    Stop();
    EXPECT_FALSE(QFileInfo(ComLinkPath(7)).isSymLink()) << "the link goes with the gateway";
}

TEST_F(GatewaySimProgram, KeepsItsEepromAcrossARestart) {
    const QString eeprom = simulator.Folder.filePath("gateway.eeprom");
    const QStringList arguments = {"--com", "3", "--eeprom", eeprom, "--no-line-speed"};
    Start(arguments);
    port.SelectPort(3);
    ASSERT_TRUE(port.Open().ok());
    uint8_t value = 0;
    ASSERT_TRUE(RecoverConsole(link));
    ASSERT_TRUE(link.SendCommand("use eeprom", "]"));
    ASSERT_TRUE(link.SendCommand("block 8", "]"));
    ASSERT_TRUE(link.ReadConsoleByte("e 40", "B(40)=", value));
    ASSERT_TRUE(link.ReadConsoleByte("123", "B(41)=", value));
    ASSERT_TRUE(link.SendCommand(".", "]"));
    ASSERT_TRUE(link.SendCommand("quit", ">"));
    port.Close();
    Stop();

    Start(arguments);
    ASSERT_TRUE(port.Open().ok());
    ASSERT_TRUE(RecoverConsole(link));
    ASSERT_TRUE(link.SendCommand("use eeprom", "]"));
    ASSERT_TRUE(link.SendCommand("block 8", "]"));
    ASSERT_TRUE(link.ReadConsoleByte("e 40", "B(40)=", value));
    EXPECT_EQ(value, 123);
    ASSERT_TRUE(link.SendCommand(".", "]"));
    port.Close();
}

}  // namespace
}  // namespace kv
