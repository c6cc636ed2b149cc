// The limits of the Set checks at their edges: node ID, Ethernet addresses, the serial
// command time-out, and what the command fields show for each function code. The windows
// only show these outcomes (MainWindowTest, AppObjEditorTest).

#include <gtest/gtest.h>

#include "config/CommandChecks.h"
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
    };
    for (const auto& row : rows) {
        EthernetParams params{"old", "old", "old"};
        EXPECT_EQ(ApplyEthernetSetting(params, {row.Ip, row.Gateway, row.Mask}).Message,
                  row.Message);
        EXPECT_EQ(QStringList({params.Ip, params.Gateway, params.Mask}).join(' '), row.Stored)
            << row.Ip.toStdString();
    }
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

// Address label, length label, start range, length range, memory range, length digits,
// fixed length.
TEST(SettingLimits, CommandFieldsForEachFunctionCode) {
    const std::pair<int, const char*> rows[] = {
        {1, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {2, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {3, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
        {4, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
        {5, "Relay Address|Data Length (Bits)|(0-65535)|(1)|(0-2047)|4|1"},
        {6, "Register Address|Data Length (Words)|(0-65535)|(1)|(0-1023)|3|1"},
        {15, "Relay Address|Data Length (Bits)|(0-65535)|(1-1920)|(0-2047)|4|0"},
        {16, "Register Address|Data Length (Words)|(0-65535)|(1-120)|(0-1023)|3|0"},
    };
    for (const auto& [code, expected] : rows) {
        const FunctionCodeLayout l = LayoutOfFunctionCode(code);
        const QStringList shown = {l.RegAddr,
                                   l.DataLen,
                                   l.RemoteAddress,
                                   l.RemoteDataLen,
                                   l.InternalMemAddr,
                                   QString::number(l.LengthMaxChars),
                                   QString::number(int(l.SingleItem))};
        EXPECT_EQ(shown.join('|'), expected) << "FC" << code;
    }
}

}  // namespace
}  // namespace kv
