// The limits of the Set checks at their edges: node ID, Ethernet addresses, list positions,
// the serial command time-out, what the command fields show for each function code, and the
// checks of a Modbus command's fields. The windows only show these outcomes (MainWindowTest,
// AppObjEditorTest).

#include <gtest/gtest.h>

#include "config/CommandChecks.h"
#include "config/ModbusReference.h"
#include "config/NumberText.h"
#include "config/ParameterChecks.h"

namespace kv {
namespace {

// Read leniently, halves to the even neighbour; a number outside 0..63 is refused (-1).
TEST(SettingLimits, NodeIdAtItsEdges) {
    const std::pair<const char16_t*, int> rows[] = {
        {u" 63", 63},  {u"", 0},    {u"62.5", 62}, {u"9e9999", 0},
        {u"63.5", -1}, {u"-1", -1}, {u"64", -1},
    };
    for (const auto& [typed, node] : rows) {
        const std::optional<uint8_t> read = NodeIdFromText(typed);
        EXPECT_EQ(read ? int(*read) : -1, node) << QString::fromUtf16(typed).toStdString();
    }
}

// IP and gateway name a host (last number 1..254); each address is stored as soon as it
// passes, so what passed before the first refusal stays.
TEST(SettingLimits, EthernetAddressesAtTheirEdges) {
    const struct {
        QString Ip, Gateway, Mask, Message, Stored;
    } rows[] = {
        {" 10.0.0.5 ", "10.0.0.255", "255.0.0.0", "Invalid Gateway address!", "10.0.0.5 old old"},
        {"10.0.0.0", "10.0.0.1", "255.0.0.0", "Invalid IP address!", "old old old"},
        {"10.0.0.255", "10.0.0.1", "255.0.0.0", "Invalid IP address!", "old old old"},
        {"10.0.0.5", "10.0.0.0", "255.0.0.0", "Invalid Gateway address!", "10.0.0.5 old old"},
        {"10.0.0.5", "10.0.0.1", "255.256.0.0", "Invalid Mask address!", "10.0.0.5 10.0.0.1 old"},
        {"10.0.0.254", "10.0.0.1  ", "255.255.255.255", "", "10.0.0.254 10.0.0.1 255.255.255.255"},
        {"10.0.0.1", "10.0.0.254", "0.0.0.0", "", "10.0.0.1 10.0.0.254 0.0.0.0"},
        // Stored, and so sent, as the console writes numbers: without leading zeros.
        {"010.000.001.2", "10.0.0.05", "255.255.255.000", "", "10.0.1.2 10.0.0.5 255.255.255.0"},
    };
    for (const auto& row : rows) {
        EthernetParams params{"old", "old", "old"};
        const auto result = ApplyEthernetSetting(params, {row.Ip, row.Gateway, row.Mask});
        EXPECT_EQ(result.Message, row.Message);
        EXPECT_EQ(result.Accepted, 3 - row.Stored.count("old"));
        EXPECT_EQ(QStringList({params.Ip, params.Gateway, params.Mask}).join(' '), row.Stored)
            << row.Ip.toStdString();
    }
}

TEST(SettingLimits, IpTextNeedsFourPlainNumbersUpTo255) {
    for (const char16_t* text : {u"192.168.255.1", u"0.0.0.0", u"255.255.255.255"})
        EXPECT_TRUE(IsValidIpText(text)) << QString::fromUtf16(text).toStdString();
    for (const char16_t* text :
         {u"192.168.1", u"192.168.1.1.1", u"192..1.1", u"192.168.1.", u"", u"...", u"256.1.1.1",
          u"1.1.1.-1", u"a.b.c.d", u"1.1.1.1e2", u"1.1.1.+1", u"1. 2.3.4", u"1.1.1.0255"})
        EXPECT_FALSE(IsValidIpText(text)) << QString::fromUtf16(text).toStdString();
}

// List positions outside the lists (only a script can give them) are refused by name and
// store nothing.
TEST(SettingLimits, ListPositionsOutsideTheLists) {
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

// A serial command time-out outside 1..65535 is stored as 0, with no message.
TEST(SettingLimits, SerialTimeoutOutsideItsRangeIsStoredAsZero) {
    const std::pair<QString, double> rows[] = {
        {"65535", 65535}, {"1", 1}, {"65536", 0}, {"0", 0}, {"-12", 0}, {"x", 0},
    };
    for (const auto& [typed, stored] : rows) {
        const SerialClassAttributes read = ReadSerialClassAttributes(2, typed);
        EXPECT_EQ(read.CmdTimeout, stored) << typed.toStdString();
        EXPECT_EQ(read.ConnMode, 2);
    }
}

// List position, address label, length label, start range, length range, memory range,
// length digits, fixed length. The editor stores the code at the chosen list position: a
// wrong pair stores a wrong code.
TEST(SettingLimits, CommandFieldsForEachFunctionCode) {
    const std::tuple<int, uint8_t, const char*> rows[] = {
        {0, 1, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {1, 2, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {2, 3, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
        {3, 4, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
        {4, 5, "Relay Address|Data Length (Bits)|(0-65535)|(1)|(0-2047)|4|1"},
        {5, 6, "Register Address|Data Length (Words)|(0-65535)|(1)|(0-1023)|3|1"},
        {6, 15, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {7, 16, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
    };
    for (const auto& [position, code, expected] : rows) {
        EXPECT_EQ(FunctionCodeAtPosition(position), code);
        EXPECT_EQ(PositionOfFunctionCode(code), position);
        const FunctionCodeLayout l = LayoutOfFunctionCode(code);
        EXPECT_EQ(
            QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                .arg(l.RegAddr, l.DataLen, l.RemoteAddress, l.RemoteDataLen, l.InternalMemAddr)
                .arg(l.LengthMaxChars)
                .arg(int(l.SingleItem)),
            expected)
            << "FC" << int(code);
    }
    EXPECT_EQ(PositionOfFunctionCode(7), -1);
}

TEST(CommandChecks, EachLimitAtItsEdge) {
    const QString netId = "ModBus Device Address Error. (1-247)";
    const QString noRoom = "Communication Length Greater Than Internal Memory";
    const std::pair<CommandFieldTexts, QString> rows[] = {
        {{"0", 1, "70000", "0", ""}, netId},  // the address is checked first
        {{"", 3, "0", "1", "0"}, netId},
        {{"1", 1, "0", "1", "0"}, ""},
        {{"247", 1, "0", "1", "0"}, ""},
        {{"248", 1, "0", "1", "0"}, netId},
        {{"5", 1, "0", "1920", "0"}, ""},
        {{"5", 1, "0", "1921", "0"}, "Communication Length Error. (1-1920)"},
        {{"5", 3, "0", "121", "0"}, "Communication Length Error. (1-120)"},
        {{"5", 4, "65536", "1", "0"}, "Register Start Address Error. (0-65535)"},
        {{"5", 1, "0", "1", "2046"}, ""},
        {{"5", 1, "0", "1", "2047"}, noRoom},
        {{"5", 16, "9", "100", "1948"}, noRoom},
        // What would corrupt the stored command.
        {{"1", 7, "0", "1", "0"}, "Modbus Function Code Error. (1-6, 15, 16)"},
        {{"1", 5, "0", "2", "0"}, "Communication Length Error. (1)"},
        {{"1", 1, "0", "1", "-5"}, "Internal Memory Address Error. (0-2047)"},
        {{"1", 1, "-5", "1", "0"}, "Relay Start Address Error. (0-65535)"}};
    for (const auto& [fields, error] : rows)
        EXPECT_EQ(CheckCommandFields(fields).Error, error)
            << fields.NetId.toStdString() << " " << fields.Length.toStdString();
}

// Fields are read leniently; halves round to the even neighbour where a whole number is
// stored. Showing a command gives the texts that store it again.
TEST(CommandChecks, StoresTheValuesReadAndShowsThemAgain) {
    const std::pair<CommandFieldTexts, ModbusCommand> rows[] = {
        {{" 17 ", 16, "400", "12a", "100"}, {1, 17, 16, 100, 400, 12}},
        {{"2.5", 3, "0", "10.5", "0"}, {1, 2, 3, 0, 0, 10}},
        {{"9", 15, "65535", "40", "2000"}, {1, 9, 15, 2000, 65535, 40}}};
    for (const auto& [fields, stored] : rows) {
        const auto check = CheckCommandFields(fields);
        EXPECT_TRUE(check.ok()) << check.Error.toStdString();
        EXPECT_EQ(check.Command, stored);
    }
    EXPECT_EQ(FieldsOfCommand(rows[2].second), rows[2].first);
    EXPECT_EQ(NumberFieldText(4294967295.0), "4294967295");
    EXPECT_EQ(NumberFieldText(2.5), "2.5");
}

TEST(CommandChecks, TcpAttributesAreStoredAsEnteredWhenTheyFit) {
    const auto check =
        CheckTcpClassAttributes({1, {"192", "168", "0", "255"}, "99999", "", "4294967295"});
    ASSERT_TRUE(check.ok());
    // The connection switch and the server address as stored: AppObjEditorTest.
    EXPECT_EQ(check.Attributes.ConnTimeout, 99999);
    EXPECT_EQ(check.Attributes.RetryConnTimeout, 0);
    EXPECT_EQ(check.Attributes.CmdTimeout, 4294967295.0);
    EXPECT_EQ(CheckTcpClassAttributes({1, {"1", "1", "1", "1"}, "1", "4294967296", "1"}).Error,
              "Retry Connection Timeout Error. (0-4294967295)");
}

TEST(NumberText, ReadsLeadingNumberLikeTheConsoleAndRoundsHalvesToEven) {
    const std::pair<const char16_t*, double> texts[] = {
        {u"  12 -->", 12}, {u"63.5", 63.5}, {u"12a", 12},    {u"-5", -5}, {u"", 0},
        {u"abc", 0},       {u".", 0},       {u"1e3x", 1000}, {u"7e", 7}};
    for (const auto& [text, number] : texts)
        EXPECT_EQ(ReadLeadingNumber(text), number) << QString::fromUtf16(text).toStdString();
    const std::pair<double, int> halves[] = {{62.5, 62}, {63.5, 64}, {0.5, 0},
                                             {1.5, 2},   {-2.5, -2}, {2.4999, 2}};
    for (const auto& [value, rounded] : halves) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

// Further references are written by the command table (CommandTableCsv).
TEST(ModbusReference, TableDigitThenOneBasedItemNumber) {
    const std::tuple<int, int, const char*> rows[] = {
        {5, 9998, "09999"}, {15, 9999, "010000"}, {4, 0, "30001"}, {6, 12, "40013"},
        {3, 65536, ""},     {3, -1, ""},          {7, 0, ""}};
    for (const auto& [functionCode, startAddress, reference] : rows)
        EXPECT_EQ(ModbusReferenceText(functionCode, startAddress), QString::fromLatin1(reference))
            << "FC" << functionCode << " at " << startAddress;
}

}  // namespace
}  // namespace kv
