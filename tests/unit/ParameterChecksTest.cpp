// The Set rules themselves are driven through the main window (MainWindowPanelsTest); here
// only what the window cannot reach: odd address shapes and list positions out of range.

#include <gtest/gtest.h>

#include "config/ParameterChecks.h"

namespace kv {
namespace {

TEST(ParameterChecks, IpTextNeedsFourPlainNumbersUpTo255) {
    for (const char16_t* text : {u"192.168.255.1", u"0.0.0.0", u"255.255.255.255"})
        EXPECT_TRUE(IsValidIpText(text)) << QString::fromUtf16(text).toStdString();
    for (const char16_t* text :
         {u"192.168.1", u"192.168.1.1.1", u"192..1.1", u"192.168.1.", u"", u"...", u"256.1.1.1",
          u"1.1.1.-1", u"a.b.c.d", u"1.1.1.1e2", u"1.1.1.+1", u"1. 2.3.4", u"1.1.1.0255"})
        EXPECT_FALSE(IsValidIpText(text)) << QString::fromUtf16(text).toStdString();
}

// Addresses are stored, and so sent, as the console writes numbers.
TEST(ParameterChecks, EthernetSettingStoresNumbersWithoutLeadingZeros) {
    const struct {
        QString Typed;
        QString Stored;
    } rows[] = {{"10.0.0.05", "10.0.0.5"}, {"010.000.001.2", "10.0.1.2"}, {"10.0.0.1", "10.0.0.1"}};
    for (const auto& row : rows) {
        EthernetParams params;
        EXPECT_EQ(ApplyEthernetSetting(params, {row.Typed, row.Typed, "255.255.255.000"}).Accepted,
                  3);
        EXPECT_EQ(params.Ip, row.Stored);
        EXPECT_EQ(params.Gateway, row.Stored);
        EXPECT_EQ(params.Mask, "255.255.255.0");
    }
}

TEST(ParameterChecks, ListPositionsOutsideTheListsAreRefusedByNameAndStoreNothing) {
    GatewayConfig config;
    config.DeviceNetParams = {12, 1};
    EXPECT_EQ(ApplyDeviceNetSetting(config, u"5", 3).Message, "Baud rate is not supported!");
    EXPECT_EQ(ApplyDeviceNetSetting(config, u"1e9", 0).Message, "Node ID is not supported!(0~63)");
    EXPECT_EQ(config.DeviceNetParams, (DeviceNetParams{12, 1}));
    EXPECT_EQ(ApplyComSetting(config, {2, 0, 0, 0, 0}).Message, "COM port is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 8, 0, 0, 0}).Message, "Baud rate is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, -1, 0, 0}).Message, "Data Bit is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, 0, 3, 0}).Message, "Parity is not supported!");
    EXPECT_EQ(ApplyComSetting(config, {0, 0, 0, 0, 2}).Message, "Stop Bit is not supported!");
    EXPECT_EQ(config.SerialClasses[0], SerialClassRecord{});
    // 115200 8N1 checksum, beside the 57600/8/odd/2 case the window test drives.
    EXPECT_TRUE(ApplyComSetting(config, {0, 7, 1, 0, 0}).ok());
    EXPECT_EQ(config.SerialClasses[0].PortChecksum, 204);
}

}  // namespace
}  // namespace kv
