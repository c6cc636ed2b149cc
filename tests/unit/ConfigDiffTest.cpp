#include <gtest/gtest.h>

#include <QJsonDocument>

#include "config/ConfigDiff.h"
#include "config/ConfigJson.h"
#include "config/EepromCodec.h"
#include "sim/DemoImages.h"

namespace kv {
namespace {

// The demo gateway as `read --json` prints it.
GatewayConfig ReadDemo() {
    GatewayConfig config;
    eeprom::DecodeImage(sim::DemoImage(), config);
    config.EthernetParams = {"192.168.255.1", "255.255.255.0", "192.168.0.1"};
    return config;
}

// The demo gateway: COM1 holds 3 commands, the first of length 10; COM2 holds 2; the second
// command of TCP class 0 starts at memory 450; node ID 5.
TEST(ConfigDiff, EqualConfigurationsChangedFieldsAndACommandOnlyOneSideHolds) {
    const GatewayConfig demo = ReadDemo();
    EXPECT_TRUE(DiffConfigTrees(ConfigToJson(demo), ConfigToJson(demo)).Equal());

    GatewayConfig changed = demo;
    changed.SerialClasses[0].Commands[0].Length = 12;
    changed.SerialClasses[1].CmdCount = 1;
    changed.TcpClasses[0].ServerIp[3] = 99;
    const ConfigDifferences result = DiffConfigTrees(ConfigToJson(demo), ConfigToJson(changed));
    ASSERT_EQ(result.Changes.size(), 4);
    EXPECT_EQ(result.Changes[0], "SerialClasses[0].Commands[0].Length: 10 -> 12");
    EXPECT_EQ(result.Changes[1], "SerialClasses[1].CmdCount: 2 -> 1");
    EXPECT_TRUE(result.Changes[2].startsWith(u"SerialClasses[1].Commands[1]: {"));
    EXPECT_TRUE(result.Changes[2].endsWith(u"} -> (none)")) << result.Changes[2].toStdString();
    EXPECT_EQ(result.Changes[3], "TcpClasses[0].ServerIp[3]: 10 -> 99");
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_TRUE(result.OnlyInB.isEmpty());
}

// A backup against a read-out, with the Ethernet settings only the read-out holds: CliDiffTest.

// A file `apply` takes may name only some fields; what it leaves out is not compared, and
// what apply fills in (Valid, CmdCount) is compared as apply would store it.
TEST(ConfigDiff, APartialFileIsComparedAsApplyWouldStoreIt) {
    const QJsonObject partial = QJsonDocument::fromJson(R"({"DeviceNetParams": {"NodeId": 12},
        "SerialClasses": [{"Commands": [{"NetId": 1, "FunctionCode": 3, "MemAddress": 0,
                                         "StartAddress": 0, "Length": 10}]}]})")
                                    .object();
    QJsonObject tree;
    QStringList errors;
    ASSERT_TRUE(ConfigFileTree(partial, tree, errors));
    const ConfigDifferences result = DiffConfigTrees(tree, ConfigToJson(ReadDemo()));
    ASSERT_EQ(result.Changes.size(), 4);
    EXPECT_EQ(result.Changes.mid(0, 2), (QStringList{"DeviceNetParams.NodeId: 12 -> 5",
                                                     "SerialClasses[0].CmdCount: 1 -> 3"}));
    EXPECT_TRUE(result.Changes[2].startsWith(u"SerialClasses[0].Commands[1]: (none) -> {"));
    EXPECT_TRUE(result.Changes[3].startsWith(u"SerialClasses[0].Commands[2]: (none) -> {"));
    EXPECT_TRUE(result.OnlyInB.contains("EthernetParams"));
    EXPECT_TRUE(result.OnlyInB.contains("SerialClasses[1]"));
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_FALSE(ConfigFileTree(QJsonObject{{"Colour", 1}}, tree, errors));
}

TEST(ConfigDiff, RawBackupsByteByByte) {
    EepromImage before = sim::DemoImage();
    before.Blocks[8][35] = 0x0B;
    EXPECT_TRUE(DiffBackupBytes(before, before).isEmpty());
    EepromImage changed = before;
    changed.Blocks[8][35] = 0xA5;
    changed.Blocks[2][0] = 0x77;  // not a configuration block: no backup holds it
    EXPECT_EQ(DiffBackupBytes(before, changed), QStringList("Block 8, address 35: 0B -> A5"));
}

}  // namespace
}  // namespace kv
