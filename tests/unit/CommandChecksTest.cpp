// The checks of a Modbus command's fields, each limit at its edge; the editor only shows
// their outcome (AppObjEditorTest).

#include <gtest/gtest.h>

#include "config/CommandChecks.h"
#include "config/ModbusReference.h"
#include "config/NumberText.h"

namespace kv {
namespace {

CommandFieldTexts Fields(QString netId, uint8_t code, QString start, QString length,
                         QString memory) {
    return {std::move(netId), code, std::move(start), std::move(length), std::move(memory)};
}

QString ErrorOf(const CommandFieldTexts& fields) { return CheckCommandFields(fields).Error; }

// The editor stores the code at the chosen list position: a wrong pair stores a wrong code.
TEST(CommandChecks, FunctionCodeListPositionsMatchStoredCodes) {
    const int codes[] = {1, 2, 3, 4, 5, 6, 15, 16};
    for (int position = 0; position < 8; ++position) {
        EXPECT_EQ(FunctionCodeAtPosition(position), codes[position]);
        EXPECT_EQ(PositionOfFunctionCode(uint8_t(codes[position])), position);
    }
    EXPECT_EQ(PositionOfFunctionCode(7), -1);
}

TEST(CommandChecks, EachLimitAtItsEdge) {
    const QString netId = "ModBus Device Address Error. (1-247)";
    const QString noRoom = "Communication Length Greater Than Internal Memory";
    const struct {
        CommandFieldTexts Fields;
        QString Error;
    } rows[] = {{Fields("0", 1, "70000", "0", ""), netId},  // the address is checked first
                {Fields("", 3, "0", "1", "0"), netId},
                {Fields("1", 1, "0", "1", "0"), ""},
                {Fields("247", 1, "0", "1", "0"), ""},
                {Fields("248", 1, "0", "1", "0"), netId},
                {Fields("5", 1, "0", "1920", "0"), ""},
                {Fields("5", 1, "0", "1921", "0"), "Communication Length Error. (1-1920)"},
                {Fields("5", 3, "0", "121", "0"), "Communication Length Error. (1-120)"},
                {Fields("5", 4, "65536", "1", "0"), "Register Start Address Error. (0-65535)"},
                {Fields("5", 1, "0", "1", "2046"), ""},
                {Fields("5", 1, "0", "1", "2047"), noRoom},
                {Fields("5", 16, "9", "100", "1948"), noRoom},
                // What would corrupt the stored command.
                {Fields("1", 7, "0", "1", "0"), "Modbus Function Code Error. (1-6, 15, 16)"},
                {Fields("1", 5, "0", "2", "0"), "Communication Length Error. (1)"},
                {Fields("1", 1, "0", "1", "-5"), "Internal Memory Address Error. (0-2047)"},
                {Fields("1", 1, "-5", "1", "0"), "Relay Start Address Error. (0-65535)"}};
    for (const auto& row : rows)
        EXPECT_EQ(ErrorOf(row.Fields), row.Error)
            << row.Fields.NetId.toStdString() << " " << row.Fields.Length.toStdString();
}

// Fields are read leniently; halves round to the even neighbour where a whole number is
// stored. Showing a command gives the texts that store it again.
TEST(CommandChecks, StoresTheValuesReadAndShowsThemAgain) {
    const struct {
        CommandFieldTexts Fields;
        ModbusCommand Stored;
    } rows[] = {{Fields(" 17 ", 16, "400", "12a", "100"), {1, 17, 16, 100, 400, 12}},
                {Fields("2.5", 3, "0", "10.5", "0"), {1, 2, 3, 0, 0, 10}},
                {Fields("9", 15, "65535", "40", "2000"), {1, 9, 15, 2000, 65535, 40}}};
    for (const auto& row : rows) {
        const auto check = CheckCommandFields(row.Fields);
        EXPECT_TRUE(check.ok()) << check.Error.toStdString();
        EXPECT_EQ(check.Command, row.Stored);
    }
    EXPECT_EQ(FieldsOfCommand(rows[2].Stored), rows[2].Fields);
    EXPECT_EQ(NumberFieldText(4294967295.0), "4294967295");
    EXPECT_EQ(NumberFieldText(2.5), "2.5");
}

TcpClassAttributeTexts TcpTexts(std::array<QString, 4> ip, QString conn, QString retry,
                                QString command) {
    return {1, std::move(ip), std::move(conn), std::move(retry), std::move(command)};
}

TEST(CommandChecks, TcpAttributesAreStoredAsEnteredWhenTheyFit) {
    const auto check =
        CheckTcpClassAttributes(TcpTexts({"192", "168", "0", "255"}, "99999", "", "4294967295"));
    ASSERT_TRUE(check.ok());
    // The connection switch and the server address as stored: AppObjEditorTest.
    EXPECT_EQ(check.Attributes.ConnTimeout, 99999);
    EXPECT_EQ(check.Attributes.RetryConnTimeout, 0);
    EXPECT_EQ(check.Attributes.CmdTimeout, 4294967295.0);
    EXPECT_EQ(CheckTcpClassAttributes(TcpTexts({"1", "1", "1", "1"}, "1", "4294967296", "1")).Error,
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

// Further references are written by the command table (CommandTableCsv in ConfigFileTest).
TEST(ModbusReference, TableDigitThenOneBasedItemNumber) {
    const struct {
        int functionCode, startAddress;
        const char* reference;
    } rows[] = {{5, 9998, "09999"}, {15, 9999, "010000"}, {4, 0, "30001"}, {6, 12, "40013"},
                {3, 65536, ""},     {3, -1, ""},          {7, 0, ""}};
    for (const auto& row : rows)
        EXPECT_EQ(ModbusReferenceText(row.functionCode, row.startAddress),
                  QString::fromLatin1(row.reference))
            << "FC" << row.functionCode << " at " << row.startAddress;
}

}  // namespace
}  // namespace kv
