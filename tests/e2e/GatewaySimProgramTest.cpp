// kv9052r-gateway-sim as a user runs it: a pseudo-terminal published as COM n, reached
// through QSerialPort, opened and closed again and again.

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

}  // namespace
}  // namespace kv
