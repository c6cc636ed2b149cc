#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "config/ParameterChecks.h"

namespace kv {
namespace {

TEST(IsValidIpTextTest, AcceptsFourNumbersUpTo255) {
    EXPECT_TRUE(IsValidIpText(u"192.168.255.1"));
    EXPECT_TRUE(IsValidIpText(u"0.0.0.0"));
    EXPECT_TRUE(IsValidIpText(u"255.255.255.255"));
}

TEST(IsValidIpTextTest, RefusesWrongShapesAndRanges) {
    for (const char16_t* text :
         {u"192.168.1", u"192.168.1.1.1", u"192..1.1", u"192.168.1.", u"", u"...", u"256.1.1.1",
          u"1.1.1.-1", u"a.b.c.d", u"1.1.1.1e2", u"1.1.1.+1", u"1. 2.3.4", u"1.1.1.0255"})
        EXPECT_FALSE(IsValidIpText(text)) << QString::fromUtf16(text).toStdString();
}

// Whatever is typed: no crash, and an accepted address always has four numbers 0..255.
TEST(IsValidIpTextTest, AnyTypedTextIsHandled) {
    const QString alphabet = QStringLiteral("0123456789.. -+eEx\t\u00ff\U0001F600");
    std::mt19937 random(9052);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        const int length = int(random() % 20);
        for (int i = 0; i < length; ++i) text += alphabet[int(random() % alphabet.size())];
        EthernetParams params;
        ApplyEthernetSetting(params, {text, text, text});
        (void)NodeIdFromText(text);
        if (!IsValidIpText(text)) continue;
        const QStringList parts = text.split(u'.');
        ASSERT_EQ(parts.size(), 4) << text.toStdString();
        for (const QString& part : parts) {
            bool ok = false;
            const int value = part.toInt(&ok);
            EXPECT_TRUE(ok && value >= 0 && value <= 255) << text.toStdString();
        }
    }
}

TEST(DeviceNetSettingTest, NodeIdChecksAndRounding) {
    GatewayConfig config;
    EXPECT_TRUE(ApplyDeviceNetSetting(config, u"", 2).ok());  // no digits reads as 0
    EXPECT_EQ(config.DeviceNetParams.NodeId, 0);
    EXPECT_EQ(config.DeviceNetParams.BaudIndex, 2);

    EXPECT_TRUE(ApplyDeviceNetSetting(config, u"62.5", 1).ok());
    EXPECT_EQ(config.DeviceNetParams.NodeId, 62);  // halves go to the even neighbour
    EXPECT_TRUE(ApplyDeviceNetSetting(config, u"  63xyz", 1).ok());
    EXPECT_EQ(config.DeviceNetParams.NodeId, 63);
}

TEST(DeviceNetSettingTest, RefusalChangesNothing) {
    GatewayConfig config;
    config.DeviceNetParams = {12, 1};
    for (const char16_t* text : {u"64", u"63.5", u"-1", u"-0.4", u"1e9", u"99999999999999999999"}) {
        const SettingResult result = ApplyDeviceNetSetting(config, text, 0);
        EXPECT_EQ(result.Message, "Node ID is not supported!(0~63)");
        EXPECT_EQ(config.DeviceNetParams, (DeviceNetParams{12, 1}));
    }
    EXPECT_EQ(ApplyDeviceNetSetting(config, u"5", 3).Message, "Baud rate is not supported!");
    EXPECT_EQ(config.DeviceNetParams, (DeviceNetParams{12, 1}));
}

TEST(ComSettingTest, StoresPortSettingsAndChecksum) {
    GatewayConfig config;
    // 57600 bit/s, 8 data bits, odd parity, 2 stop bits: 0 + 225 + 0 + 8 + 2 + 2.
    EXPECT_TRUE(ApplyComSetting(config, {0, 6, 1, 2, 1}).ok());
    const SerialClassRecord& com1 = config.SerialClasses[0];
    EXPECT_EQ(com1.Baud, 57600);
    EXPECT_EQ(com1.DataBits, 8);
    EXPECT_EQ(com1.Parity, 2);
    EXPECT_EQ(com1.StopBits, 2);
    EXPECT_EQ(com1.PortChecksum, 237);
    EXPECT_EQ(config.ComBaudIndex[0], 6);

    EXPECT_TRUE(ApplyComSetting(config, {0, 7, 1, 0, 0}).ok());
    EXPECT_EQ(config.SerialClasses[0].PortChecksum, 204);  // 115200 8N1
}

TEST(ComSettingTest, Com2ChangesOnlyItsOwnElement) {
    GatewayConfig config;
    config.SerialClasses[0].CmdCount = 3;
    const GatewayConfig before = config;
    EXPECT_TRUE(ApplyComSetting(config, {1, 3, 1, 1, 0}).ok());  // 9600 8E1
    EXPECT_EQ(config.SerialClasses[0], before.SerialClasses[0]);
    EXPECT_EQ(config.ComBaudIndex[0], before.ComBaudIndex[0]);
    EXPECT_EQ(config.ComBaudIndex[1], 3);
    EXPECT_EQ(config.SerialClasses[1].Baud, 9600);
    EXPECT_EQ(config.SerialClasses[1].PortChecksum, 175);
}

TEST(ComSettingTest, PositionsOutsideTheListsAreRefusedByName) {
    GatewayConfig config;
    EXPECT_EQ(ApplyComSetting(config, {2, 0, 0, 0, 0}).Message, "COM port is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 8, 0, 0, 0}).Message, "Baud rate is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, -1, 0, 0}).Message, "Data Bit is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, 0, 3, 0}).Message, "Parity is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, 0, 0, 2}).Message, "Stop Bit is not supported!");
    EXPECT_EQ(config.SerialClasses[0], SerialClassRecord{});
}

EthernetParams Previous() { return {"10.0.0.2", "255.0.0.0", "10.0.0.1"}; }

TEST(EthernetSettingTest, AcceptsAllThreeWithOuterBlanksRemoved) {
    EthernetParams params = Previous();
    const auto result =
        ApplyEthernetSetting(params, {" 192.168.255.1 ", "192.168.0.254", "\t255.255.255.0"});
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.Accepted, 3);
    EXPECT_EQ(params, (EthernetParams{"192.168.255.1", "255.255.255.0", "192.168.0.254"}));
}

TEST(EthernetSettingTest, HostAddressesNeedALastNumberFrom1To254) {
    for (const char* ip : {"192.168.255.0", "192.168.255.255", "192.168.255", "192..255.1", ""}) {
        EthernetParams params = Previous();
        const auto result = ApplyEthernetSetting(params, {ip, "10.0.0.1", "255.0.0.0"});
        EXPECT_EQ(result.Message, "Invalid IP address!") << ip;
        EXPECT_EQ(result.Accepted, 0);
        EXPECT_EQ(params, Previous());
    }
}

TEST(EthernetSettingTest, StoresWhatPassedBeforeTheFirstRefusal) {
    EthernetParams params = Previous();
    auto result = ApplyEthernetSetting(params, {"192.168.1.5", "192.168.1.255", "255.255.255.0"});
    EXPECT_EQ(result.Message, "Invalid Gateway address!");
    EXPECT_EQ(result.Accepted, 1);
    EXPECT_EQ(params, (EthernetParams{"192.168.1.5", "255.0.0.0", "10.0.0.1"}));

    params = Previous();
    result = ApplyEthernetSetting(params, {"192.168.1.5", "192.168.1.1", "255.255.256.0"});
    EXPECT_EQ(result.Message, "Invalid Mask address!");
    EXPECT_EQ(result.Accepted, 2);
    EXPECT_EQ(params, (EthernetParams{"192.168.1.5", "255.0.0.0", "192.168.1.1"}));
}

TEST(EthernetSettingTest, MaskMayEndInAnyNumber) {
    EthernetParams params;
    EXPECT_TRUE(ApplyEthernetSetting(params, {"1.2.3.4", "1.2.3.1", "255.255.255.255"}).ok());
    EXPECT_TRUE(ApplyEthernetSetting(params, {"1.2.3.4", "1.2.3.1", "0.0.0.0"}).ok());
}

}  // namespace
}  // namespace kv
