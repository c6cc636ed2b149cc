// The factory reset against the virtual gateway: exactly the bytes it may change, the
// factory values in the model, and what a failure part-way leaves behind.

#include <gtest/gtest.h>

#include "SaveTestGateway.h"
#include "save/FactoryReset.h"
#include "sim/DemoImages.h"

namespace kv {
namespace {

using test::SaveTestGateway;

TEST(FactoryResetTest, WritesOnlyTheFactoryBytes) {
    SaveTestGateway gateway(sim::DemoImage());
    gateway.Gateway.Console.Network = {"10.9.9.9", "255.255.0.0", "10.9.9.1"};
    const GatewayConfig before = gateway.Config;

    ASSERT_EQ(FactoryReset(gateway.Link, gateway.Config, gateway.Record), WriteResult::Ok);

    EepromImage expected = gateway.Before;
    expected.Blocks[0][7] = 0;
    expected.Blocks[0][23] = 0;
    expected.Blocks[1][6] = 0;
    expected.Blocks[1][7] = 0;
    expected.Blocks[1][8] = 1;
    expected.Blocks[1][9] = 0;
    EXPECT_TRUE(gateway.Gateway.Console.Eeprom == expected);
    EXPECT_TRUE(gateway.Gateway.Console.Network == FactoryEthernetParams());
    EXPECT_EQ(gateway.EditSequences(),
              (QStringList{"block 0", "e 7", "e 23", "block 1", "e 6", "e 8"}));
    EXPECT_EQ(gateway.Progress, (QList<int>{3, 5, 7, 9, 10}));

    const GatewayConfig& after = gateway.Config;
    EXPECT_TRUE(after.EthernetParams == FactoryEthernetParams());
    EXPECT_TRUE(after.DeviceNetParams == (DeviceNetParams{1, 0}));
    EXPECT_EQ(after.ConfigMarker, before.ConfigMarker) << "the model's marker is kept";
    EXPECT_TRUE(after.SerialClasses == before.SerialClasses);
    EXPECT_TRUE(after.TcpClasses == before.TcpClasses);
}

TEST(FactoryResetTest, FailureAfterTheEthernetSettingsKeepsTheOldEeprom) {
    SaveTestGateway gateway(sim::DemoImage());
    gateway.Config.DeviceNetParams = {20, 2};
    // The console answers the recovery and the Ethernet settings, then nothing more.
    const int recoveryLines = 7;
    gateway.Gateway.Console.Faults.StopAfterLines = gateway.ReadLines + recoveryLines + 3;

    EXPECT_EQ(FactoryReset(gateway.Link, gateway.Config, gateway.Record), WriteResult::Timeout);

    EXPECT_TRUE(gateway.Gateway.Console.Network == FactoryEthernetParams());
    EXPECT_TRUE(gateway.Gateway.Console.Eeprom == gateway.Before);
    EXPECT_TRUE(gateway.Config.EthernetParams == FactoryEthernetParams());
    EXPECT_TRUE(gateway.Config.DeviceNetParams == (DeviceNetParams{20, 2}));
    EXPECT_EQ(gateway.Progress, QList<int>{3});
    EXPECT_EQ(gateway.LinesSent().mid(recoveryLines + 3), QStringList{"use eeprom"});
}

}  // namespace
}  // namespace kv
