// What the views show of the commands: the grids of the serial and TCP classes and of the
// application objects, and the memory the commands share.

#include <gtest/gtest.h>

#include "config/MemoryOverlaps.h"
#include "config/ViewRows.h"
#include "config/WorkingCopy.h"

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

struct Stored {
    int Class;
    uint8_t FunctionCode;
    double MemAddress;
    int32_t Length;
    bool InUse = true;
};

// Appends each command to its class of the working copy, switching the class on or off.
GatewayConfig Config(std::initializer_list<Stored> commands) {
    GatewayConfig config;
    for (const Stored& stored : commands) {
        if (IsSerialClassIndex(stored.Class))
            config.EditSerialClasses[stored.Class].ConnMode = stored.InUse ? 1 : 0;
        else
            config.EditTcpClasses[stored.Class - SerialClassCount].ConnValid = stored.InUse;
        ClassCommands commands = EditClassCommands(config, stored.Class);
        commands.Slots[commands.CmdCount++] = {
            1, 1, stored.FunctionCode, stored.MemAddress, 0, stored.Length};
    }
    return config;
}

QStringList OverlapTexts(const GatewayConfig& config) {
    QStringList texts;
    for (const MemoryOverlap& overlap : FindMemoryLayout(config).Overlaps)
        texts << OverlapText(overlap);
    return texts;
}

TEST(MemoryOverlaps, CommandsShareTheAddressesTheyBothOccupy) {
    const struct {
        GatewayConfig Config;
        QStringList Overlaps;
    } rows[] = {
        // 100..115 and 116..119 touch only.
        {Config({{0, 3, 100, 16}, {2, 3, 116, 4}}), {}},
        {Config({{0, 3, 100, 16}, {2, 3, 116, 4}, {2, 16, 115, 2}}),
         {"COM1 instance 1 and Server 01 instance 2 share 115",
          "Server 01 instance 1 and Server 01 instance 2 share 116"}},
        // Bits and registers both take Length addresses: 1920 bits are 0..1919, not 240 bytes.
        {Config({{1, 1, 0, 1920}, {1, 3, 1900, 120}, {1, 5, 2040, 1}}),
         {"COM2 instance 1 and COM2 instance 2 share 1900..1919"}},
        // Commands of classes not in use: MemoryMapTest.
        {Config({{3, 3, 100, 16}, {3, 3, 100, 0}}), {}},  // a length of 0 occupies nothing
    };
    for (const auto& row : rows) EXPECT_EQ(OverlapTexts(row.Config), row.Overlaps);
}

TEST(MemoryOverlaps, EachCommandNotesWhatItShares) {
    const GatewayConfig config = Config({{0, 3, 100, 16}, {2, 3, 116, 4}, {2, 16, 115, 2}});
    EXPECT_EQ(FindMemoryLayout(config).Ranges[0], (CommandRange{0, 0, 100, 115, true}));
    EXPECT_EQ(OverlapNote(config, 2, 1),
              "Shares memory with COM1 instance 1 at 115, Server 01 instance 1 at 116.");
    EXPECT_EQ(OverlapNote(config, 0, 0), "Shares memory with Server 01 instance 2 at 115.");
    EXPECT_TRUE(OverlapNote(Config({{1, 3, 0, 10}, {1, 3, 10, 1}}), 1, 1).isEmpty());
}

TEST(MemoryOverlaps, OnlyTheCountedSlotsOccupyMemory) {
    GatewayConfig config = Config({{3, 3, 100, 16}});
    config.EditTcpClasses[1].Commands[2] = {1, 1, 3, 100, 0, 16};  // beyond CmdCount
    config.EditSerialClasses[0].CmdCount = 200;  // only a gateway holds such a count
    config.EditSerialClasses[0].Commands[9] = {1, 1, 3, 100, 0, 1};
    const MemoryLayout layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Ranges.size(), 2);
    EXPECT_EQ(layout.Ranges[0], (CommandRange{0, 9, 100, 100, false}));
    EXPECT_EQ(OverlapTexts(config),
              QStringList{"COM1 instance 10 (not in use) and Server02 instance 1 share 100"});
}

}  // namespace
}  // namespace kv
