#include <gtest/gtest.h>

#include "config/ViewRows.h"

namespace kv {
namespace {

ModbusCommand Command(uint8_t functionCode, double memAddress, int32_t length,
                      double startAddress = 0, uint8_t netId = 1) {
    return {1, netId, functionCode, memAddress, startAddress, length};
}

QStringList Row(const ViewGrid& grid, int row) { return grid.Rows.at(row); }
bool IsEmptyRow(const ViewGrid& grid, int row) { return grid.Rows.at(row).join("").isEmpty(); }

TEST(ViewRows, SerialGridListsEveryCountedCommandWithItsMemoryRange) {
    std::array<SerialClassRecord, SerialClassCount> classes{};
    classes[0] = {1, 0, 255};  // as a damaged EEPROM may hold: lists the ten slots
    for (int i = 0; i < 10; ++i) classes[0].Commands[i] = Command(3, 10 * i, 1);
    classes[0].Commands[0] = Command(3, 100, 16, 4000, 7);
    classes[0].Commands[1].Valid = 0;  // listed all the same
    classes[1] = {2, 250.5, 1};        // kept as typed, shown as a whole number
    classes[1].Commands[0] = Command(15, 2000, 1);
    const ViewGrid grid = SerialCommandGrid(classes);

    ASSERT_EQ(grid.Rows.size(), 1 + 11 + 1 + 2 + 1);
    EXPECT_EQ(Row(grid, 1).mid(0, 3), QStringList({"RS-232", "RTU", "0"}));
    EXPECT_EQ(Row(grid, 2),
              QStringList({"", "", "", "(1)", "7", "AO (R)", "4000", "16", "100", "115"}));
    EXPECT_EQ(Row(grid, 3)[3], "(2)");
    EXPECT_EQ(Row(grid, 11)[3], "(10)");
    EXPECT_TRUE(IsEmptyRow(grid, 12));
    EXPECT_EQ(Row(grid, 13).mid(0, 3), QStringList({"RS-485", "ASCII", "250"}));
    // One bit at 2000 occupies 2000 only.
    EXPECT_EQ(Row(grid, 14).mid(3), QStringList({"(1)", "1", "DO (W)", "0", "1", "2000", "2000"}));
    EXPECT_TRUE(IsEmptyRow(grid, 15));
    // The inputs, which no row above reads.
    EXPECT_EQ(IoTypeText(2), "DI");
    EXPECT_EQ(IoTypeText(4), "AI");
    EXPECT_EQ(ModbusModeText(0), "NONE");
}

TEST(ViewRows, TcpGridListsOnlyTheConnectionsInUse) {
    std::array<TcpClassRecord, TcpClassCount> classes{};
    classes[2] = {1, {192, 168, 0, 20}, 3000, 5000, 200, 2};
    classes[2].Commands[0] = Command(1, 0, 16, 0, 2);
    classes[2].Commands[1] = Command(16, 2000, 8, 4000, 3);
    classes[1].CmdCount = 3;  // commands of a connection not in use are not shown
    ViewGrid grid = TcpCommandGrid(classes);

    ASSERT_EQ(grid.Rows.size(), 5);
    EXPECT_EQ(Row(grid, 1).mid(0, 6),
              QStringList({"Server 3", "192.168.0.20", "3000", "5000", "200", ""}));
    EXPECT_EQ(Row(grid, 2).mid(5), QStringList({"(1)", "2", "DO (R)", "0", "16", "0", "15"}));
    EXPECT_EQ(Row(grid, 3).mid(5),
              QStringList({"(2)", "3", "AO (W)", "4000", "8", "2000", "2007"}));
    EXPECT_TRUE(IsEmptyRow(grid, 4));

    classes[3] = {1, {}, 0, 0, 0, 6};  // lists the five slots
    EXPECT_EQ(TcpCommandGrid(classes).Rows.size(), 5 + 1 + 5 + 1);
}

TEST(ViewRows, ObjectGridListsTheClassesInUseWithTheirInstances) {
    std::array<SerialClassRecord, SerialClassCount> serial{};
    serial[0] = {0, 0, 2};  // commands, but no connection mode
    std::array<TcpClassRecord, TcpClassCount> tcp{};
    tcp[2].ConnValid = 1;  // in use, but no commands
    const ViewGrid empty = AppObjectGrid(serial, tcp);
    ASSERT_EQ(empty.Rows.size(), 20);  // an empty grid keeps its twenty rows
    EXPECT_EQ(empty.HeadingRows, 2);
    for (int row = 2; row < 20; ++row) EXPECT_TRUE(IsEmptyRow(empty, row)) << row;

    serial[1] = {1, 0, 2};
    serial[1].Commands = {Command(16, 2000, 8, 4000, 5), ModbusCommand{0, 1, 2, 10, 0, 3}};
    tcp[3] = {1, {}, 0, 0, 0, 1, {Command(15, 0, 1)}};
    const ViewGrid grid = AppObjectGrid(serial, tcp);
    ASSERT_EQ(grid.Rows.size(), 7);
    EXPECT_EQ(Row(grid, 2), QStringList({"0x66", "0x01", "1", "5", "16", "2000", "4000", "8"}));
    EXPECT_EQ(Row(grid, 3), QStringList({"", "0x02", "0", "1", "2", "10", "0", "3"}));
    EXPECT_TRUE(IsEmptyRow(grid, 4));
    EXPECT_EQ(Row(grid, 5), QStringList({"0x6A", "0x01", "1", "1", "15", "0", "0", "1"}));
    EXPECT_TRUE(IsEmptyRow(grid, 6));

    serial[0] = {1, 0, 255};  // as a damaged EEPROM may hold: lists the slots
    tcp[3].CmdCount = 6;
    EXPECT_EQ(AppObjectGrid(serial, tcp).Rows.size(), 2 + 11 + 3 + 6);
}

}  // namespace
}  // namespace kv
