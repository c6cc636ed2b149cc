#include <gtest/gtest.h>

#include <QJsonArray>

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

TEST(ConfigDiff, EqualConfigurationsAndOneChangedCommand) {
    const GatewayConfig demo = ReadDemo();
    ASSERT_GE(demo.SerialClasses[0].CmdCount, 1);
    EXPECT_TRUE(DiffConfigTrees(ConfigToJson(demo), ConfigToJson(demo)).Equal());

    GatewayConfig changed = demo;
    changed.SerialClasses[0].Commands[0].Length += 2;
    changed.TcpClasses[1].ServerIp[3] = 99;
    const ConfigDifferences result = DiffConfigTrees(ConfigToJson(demo), ConfigToJson(changed));
    EXPECT_EQ(result.Changes,
              QStringList({QStringLiteral("SerialClasses[0].Commands[0].Length: %1 -> %2")
                               .arg(demo.SerialClasses[0].Commands[0].Length)
                               .arg(changed.SerialClasses[0].Commands[0].Length),
                           QStringLiteral("TcpClasses[1].ServerIp[3]: %1 -> 99")
                               .arg(demo.TcpClasses[1].ServerIp[3])}));
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_TRUE(result.OnlyInB.isEmpty());
}

TEST(ConfigDiff, ACommandOnlyOneSideHoldsIsAChange) {
    const GatewayConfig demo = ReadDemo();
    GatewayConfig fewer = demo;
    const int last = --fewer.SerialClasses[1].CmdCount;
    const ConfigDifferences result = DiffConfigTrees(ConfigToJson(demo), ConfigToJson(fewer));
    ASSERT_EQ(result.Changes.size(), 2);
    EXPECT_EQ(result.Changes[0],
              QStringLiteral("SerialClasses[1].CmdCount: %1 -> %2").arg(last + 1).arg(last));
    EXPECT_TRUE(
        result.Changes[1].startsWith(QStringLiteral("SerialClasses[1].Commands[%1]: {").arg(last)))
        << result.Changes[1].toStdString();
    EXPECT_TRUE(result.Changes[1].endsWith(u"} -> (none)")) << result.Changes[1].toStdString();
}

TEST(ConfigDiff, ABackupAgainstAJsonFileLeavesTheEthernetSettingsOut) {
    const GatewayConfig demo = ReadDemo();
    EXPECT_TRUE(DiffConfigTrees(BackupConfigTree(sim::DemoImage()), ConfigToJson(demo)).Equal());

    GatewayConfig edited = demo;
    edited.TcpClasses[0].Commands[1].MemAddress = 700;
    EepromImage image = sim::DemoImage();
    eeprom::EncodeImage(edited, image);
    QJsonObject file;
    QStringList errors;
    ASSERT_TRUE(ConfigFileTree(ConfigToJson(demo), file, errors));
    const ConfigDifferences result = DiffConfigTrees(BackupConfigTree(image), file);
    EXPECT_EQ(result.Changes,
              QStringList(QStringLiteral("TcpClasses[0].Commands[1].MemAddress: 700 -> %1")
                              .arg(demo.TcpClasses[0].Commands[1].MemAddress)));
    EXPECT_TRUE(result.OnlyInA.isEmpty());
    EXPECT_EQ(result.OnlyInB, QStringList("EthernetParams"));
}

// A file `apply` takes may name only some fields; what it leaves out is not compared, and
// what apply fills in (Valid, CmdCount) is compared as apply would store it.
TEST(ConfigDiff, APartialFileIsComparedAsApplyWouldStoreIt) {
    const GatewayConfig demo = ReadDemo();
    const ModbusCommand& stored = demo.SerialClasses[0].Commands[0];
    const QJsonObject command{{"NetId", stored.NetId},
                              {"FunctionCode", stored.FunctionCode},
                              {"MemAddress", stored.MemAddress},
                              {"StartAddress", stored.StartAddress},
                              {"Length", stored.Length}};
    const QJsonObject partial{
        {"DeviceNetParams", QJsonObject{{"NodeId", 12}}},
        {"SerialClasses", QJsonArray{QJsonObject{{"Commands", QJsonArray{command}}}}}};
    QJsonObject tree;
    QStringList errors;
    ASSERT_TRUE(ConfigFileTree(partial, tree, errors));
    const ConfigDifferences result = DiffConfigTrees(tree, ConfigToJson(demo));
    QStringList expected = {
        QStringLiteral("DeviceNetParams.NodeId: 12 -> %1").arg(demo.DeviceNetParams.NodeId)};
    if (demo.SerialClasses[0].CmdCount != 1)
        expected << QStringLiteral("SerialClasses[0].CmdCount: 1 -> %1")
                        .arg(demo.SerialClasses[0].CmdCount);
    for (int slot = 1; slot < demo.SerialClasses[0].CmdCount; ++slot)
        EXPECT_TRUE(
            result.Changes.filter(QStringLiteral("Commands[%1]: (none) -> {").arg(slot)).size() ==
            1);
    EXPECT_EQ(result.Changes.mid(0, expected.size()), expected);
    EXPECT_TRUE(result.OnlyInB.contains("EthernetParams"));
    EXPECT_TRUE(result.OnlyInB.contains("SerialClasses[0].ConnMode"));
    EXPECT_TRUE(result.OnlyInB.contains("SerialClasses[1]"));
    EXPECT_TRUE(result.OnlyInA.isEmpty());

    const QJsonObject wrong{{"DeviceNetParams", QJsonObject{{"NodeId", 300}}}};
    EXPECT_FALSE(ConfigFileTree(wrong, tree, errors));
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.value(0).startsWith("DeviceNetParams.NodeId: "))
        << errors.value(0).toStdString();
}

TEST(ConfigDiff, RawBackupsByteByByte) {
    const EepromImage demo = sim::DemoImage();
    EXPECT_TRUE(DiffBackupBytes(demo, demo).isEmpty());
    EepromImage changed = demo;
    changed.Blocks[8][35] = uint8_t(demo.Blocks[8][35] ^ 0xA5);
    changed.Blocks[2][0] = 0x77;  // not a configuration block: no backup holds it
    const QString before = QStringLiteral("%1").arg(demo.Blocks[8][35], 2, 16, QChar(u'0'));
    const QString after = QStringLiteral("%1").arg(changed.Blocks[8][35], 2, 16, QChar(u'0'));
    EXPECT_EQ(DiffBackupBytes(demo, changed),
              QStringList(QStringLiteral("Block 8, address 35: %1 -> %2")
                              .arg(before.toUpper(), after.toUpper())));
}

}  // namespace
}  // namespace kv
