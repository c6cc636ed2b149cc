#include <gtest/gtest.h>

#include "config/MemoryOverlaps.h"
#include "config/WorkingCopy.h"

namespace kv {
namespace {

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
