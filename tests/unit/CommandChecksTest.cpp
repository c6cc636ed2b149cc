#include "config/CommandChecks.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

CommandFieldTexts Fields(QString netId, uint8_t code, QString start, QString length,
                         QString memory) {
    return {std::move(netId), code, std::move(start), std::move(length), std::move(memory)};
}

QString ErrorOf(const CommandFieldTexts& fields) { return CheckCommandFields(fields).Error; }

TEST(CommandChecks, FunctionCodeListPositionsMatchStoredCodes) {
    ASSERT_EQ(FunctionCodeEntries().size(), 8);
    EXPECT_EQ(FunctionCodeEntries()[5], "FC06 Write single register");
    const int expected[] = {1, 2, 3, 4, 5, 6, 15, 16};
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(FunctionCodeAtPosition(p), expected[p]);
        EXPECT_EQ(PositionOfFunctionCode(expected[p]), p);
    }
    EXPECT_EQ(PositionOfFunctionCode(7), -1);
    EXPECT_EQ(PositionOfFunctionCode(0), -1);
}

TEST(CommandChecks, LayoutFollowsTheKindOfCode) {
    const auto bits = LayoutOfFunctionCode(15);
    EXPECT_EQ(bits.RegAddr, "Relay Address");
    EXPECT_EQ(bits.DataLen, "Data Length (Bits)");
    EXPECT_EQ(bits.RemoteDataLen, "(1-1920)");
    EXPECT_EQ(bits.InternalMemAddr, "(0-2047)");
    EXPECT_EQ(bits.LengthMaxChars, 4);
    EXPECT_FALSE(bits.SingleItem);

    const auto words = LayoutOfFunctionCode(3);
    EXPECT_EQ(words.RegAddr, "Register Address");
    EXPECT_EQ(words.DataLen, "Data Length (Words)");
    EXPECT_EQ(words.RemoteAddress, "(0-65535)");
    EXPECT_EQ(words.RemoteDataLen, "(1-120)");
    EXPECT_EQ(words.InternalMemAddr, "(0-1023)");
    EXPECT_EQ(words.LengthMaxChars, 3);

    for (int single : {5, 6}) {
        EXPECT_TRUE(LayoutOfFunctionCode(single).SingleItem);
        EXPECT_EQ(LayoutOfFunctionCode(single).RemoteDataLen, "(1)");
    }
    EXPECT_EQ(LayoutOfFunctionCode(6).RegAddr, "Register Address");
}

TEST(CommandChecks, NetIdIsCheckedFirstAndBounded) {
    EXPECT_EQ(ErrorOf(Fields("0", 1, "70000", "0", "5000")),
              "ModBus Device Address Error. (1-247)");
    EXPECT_EQ(ErrorOf(Fields("248", 3, "0", "1", "0")), "ModBus Device Address Error. (1-247)");
    EXPECT_EQ(ErrorOf(Fields("", 3, "0", "1", "0")), "ModBus Device Address Error. (1-247)");
    EXPECT_TRUE(CheckCommandFields(Fields("1", 3, "0", "1", "0")).ok());
    EXPECT_TRUE(CheckCommandFields(Fields("247", 3, "0", "1", "0")).ok());
}

TEST(CommandChecks, StartAddressAndLengthMessagesNameTheKind) {
    EXPECT_EQ(ErrorOf(Fields("1", 1, "65536", "1", "0")), "Relay Start Address Error. (0-65535)");
    EXPECT_EQ(ErrorOf(Fields("1", 4, "65536", "1", "0")),
              "Register Start Address Error. (0-65535)");
    EXPECT_TRUE(CheckCommandFields(Fields("1", 4, "65535", "1", "0")).ok());

    EXPECT_TRUE(CheckCommandFields(Fields("1", 1, "0", "1920", "0")).ok());
    EXPECT_EQ(ErrorOf(Fields("1", 1, "0", "1921", "0")), "Communication Length Error. (1-1920)");
    EXPECT_EQ(ErrorOf(Fields("1", 2, "0", "", "0")), "Communication Length Error. (1-1920)");
    EXPECT_EQ(ErrorOf(Fields("1", 3, "0", "121", "0")), "Communication Length Error. (1-120)");
    EXPECT_TRUE(CheckCommandFields(Fields("1", 16, "0", "120", "0")).ok());
}

TEST(CommandChecks, CommandMustFitTheInternalMemory) {
    const QString tooLong = "Communication Length Greater Than Internal Memory";
    EXPECT_EQ(ErrorOf(Fields("1", 1, "0", "1", "2047")), tooLong);
    EXPECT_TRUE(CheckCommandFields(Fields("1", 1, "0", "1", "2046")).ok());
    // Word commands share the 2048 limit whatever their range label says.
    EXPECT_TRUE(CheckCommandFields(Fields("1", 3, "0", "100", "1500")).ok());
    EXPECT_EQ(ErrorOf(Fields("1", 3, "0", "100", "1948")), tooLong);
}

TEST(CommandChecks, RefusesWhatWouldCorruptTheStoredCommand) {
    EXPECT_EQ(ErrorOf(Fields("1", 7, "0", "1", "0")), "Modbus Function Code Error. (1-6, 15, 16)");
    EXPECT_EQ(ErrorOf(Fields("1", 5, "0", "2", "0")), "Communication Length Error. (1)");
    EXPECT_EQ(ErrorOf(Fields("1", 1, "0", "1", "-5")), "Internal Memory Address Error. (0-2047)");
    EXPECT_EQ(ErrorOf(Fields("1", 1, "-5", "1", "0")), "Relay Start Address Error. (0-65535)");
}

TEST(CommandChecks, StoresTheValuesReadLeniently) {
    const auto check = CheckCommandFields(Fields(" 17 ", 16, "400", "12a", "100"));
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.Command, (ModbusCommand{1, 17, 16, 100, 400, 12}));
    // Halves round to the even neighbour where a whole number is stored.
    EXPECT_EQ(CheckCommandFields(Fields("2.5", 3, "0", "10.5", "0")).Command.NetId, 2);
    EXPECT_EQ(CheckCommandFields(Fields("2.5", 3, "0", "10.5", "0")).Command.Length, 10);
}

TEST(CommandChecks, ShowingACommandGivesTheTextsThatStoreItAgain) {
    const ModbusCommand command{1, 9, 15, 2000, 65535, 40};
    const auto fields = FieldsOfCommand(command);
    EXPECT_EQ(fields, Fields("9", 15, "65535", "40", "2000"));
    EXPECT_EQ(CheckCommandFields(fields).Command, command);
    EXPECT_EQ(NumberFieldText(4294967295.0), "4294967295");
    EXPECT_EQ(NumberFieldText(2.5), "2.5");
}

TEST(CommandChecks, SerialTimeoutOutsideItsRangeBecomesZero) {
    EXPECT_EQ(ReadSerialClassAttributes(1, "65535").CmdTimeout, 65535);
    EXPECT_EQ(ReadSerialClassAttributes(1, "1").CmdTimeout, 1);
    for (const char* refused : {"65536", "0", "", "-5", "abc"})
        EXPECT_EQ(ReadSerialClassAttributes(2, refused).CmdTimeout, 0) << refused;
    EXPECT_EQ(ReadSerialClassAttributes(2, "").ConnMode, 2);
}

TcpClassAttributeTexts TcpTexts(std::array<QString, 4> ip, QString conn, QString retry,
                                QString command) {
    return {1, std::move(ip), std::move(conn), std::move(retry), std::move(command)};
}

TEST(CommandChecks, TcpAttributesAreStoredAsEnteredWhenTheyFit) {
    const auto check =
        CheckTcpClassAttributes(TcpTexts({"192", "168", "0", "255"}, "99999", "", "4294967295"));
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.Attributes.ConnValid, 1);
    EXPECT_EQ(check.Attributes.ServerIp, (std::array<uint8_t, 4>{192, 168, 0, 255}));
    EXPECT_EQ(check.Attributes.ConnTimeout, 99999);
    EXPECT_EQ(check.Attributes.RetryConnTimeout, 0);
    EXPECT_EQ(check.Attributes.CmdTimeout, 4294967295.0);
}

TEST(CommandChecks, TcpAttributesThatDoNotFitAreRefusedByName) {
    const std::array<QString, 4> ip = {"10", "0", "0", "1"};
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts({"10", "256", "0", "1"}, "1", "1", "1")).Error,
              "Server IP Octet 2 Error. (0-255)");
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts({"10", "0", "0", "-1"}, "1", "1", "1")).Error,
              "Server IP Octet 4 Error. (0-255)");
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts(ip, "-5", "1", "1")).Error,
              "Connection Timeout Error. (0-4294967295)");
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts(ip, "1", "4294967296", "1")).Error,
              "Retry Connection Timeout Error. (0-4294967295)");
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts(ip, "1", "1", "-1")).Error,
              "Command Timeout Error. (0-4294967295)");
}

}  // namespace
}  // namespace kv
