#include <gtest/gtest.h>

#include "config/MemoryOverlaps.h"
#include "config/WorkingCopy.h"

namespace kv {
namespace {

ModbusCommand Command(uint8_t functionCode, double memAddress, int32_t length) {
    return {1, 1, functionCode, memAddress, 0, length};
}

// Appends a command to class `classIndex` of the working copy and switches the class on.
void Store(GatewayConfig& config, int classIndex, const ModbusCommand& command) {
    if (IsSerialClassIndex(classIndex))
        config.EditSerialClasses[classIndex].ConnMode = 1;
    else
        config.EditTcpClasses[classIndex - SerialClassCount].ConnValid = 1;
    ClassCommands commands = EditClassCommands(config, classIndex);
    commands.Slots[commands.CmdCount++] = command;
}

TEST(MemoryOverlaps, TouchingRangesDoNotOverlapButASharedLastAddressDoes) {
    GatewayConfig config;
    Store(config, 0, Command(3, 100, 16));  // 100..115
    Store(config, 2, Command(3, 116, 4));   // 116..119: touches only
    MemoryLayout layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Ranges.size(), 2);
    EXPECT_EQ(layout.Ranges[0], (CommandRange{0, 0, 100, 115, true}));
    EXPECT_EQ(layout.Ranges[1], (CommandRange{2, 0, 116, 119, true}));
    EXPECT_TRUE(layout.Overlaps.isEmpty());
    EXPECT_TRUE(OverlapNote(config, 0, 0).isEmpty());

    Store(config, 2, Command(16, 115, 2));  // 115..116: the last address of both
    layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Overlaps.size(), 2);
    EXPECT_EQ(OverlapText(layout.Overlaps[0]),
              "COM1 instance 1 and Server 01 instance 2 share 115");
    EXPECT_EQ(OverlapText(layout.Overlaps[1]),
              "Server 01 instance 1 and Server 01 instance 2 share 116");
    EXPECT_EQ(OverlapNote(config, 2, 1),
              "Shares memory with COM1 instance 1 at 115, Server 01 instance 1 at 116.");
}

TEST(MemoryOverlaps, BitAndRegisterCommandsBothTakeLengthAddresses) {
    GatewayConfig config;
    Store(config, 1, Command(1, 0, 1920));    // 1920 bits: 0..1919, not 240 bytes
    Store(config, 1, Command(3, 1900, 120));  // 120 registers: 1900..2019
    Store(config, 1, Command(5, 2040, 1));
    const MemoryLayout layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Ranges.size(), 3);
    EXPECT_EQ(layout.Ranges[0].Last, 1919);
    EXPECT_EQ(layout.Ranges[1].Last, 2019);
    EXPECT_EQ(layout.Ranges[2].Last, 2040);
    ASSERT_EQ(layout.Overlaps.size(), 1);
    EXPECT_EQ(OverlapText(layout.Overlaps[0]),
              "COM2 instance 1 and COM2 instance 2 share 1900..1919");
    EXPECT_EQ(OverlapNote(config, 1, 0), "Shares memory with COM2 instance 2 at 1900..1919.");
    EXPECT_TRUE(OverlapNote(config, 1, 2).isEmpty());
}

TEST(MemoryOverlaps, ASwitchedOffClassStillShowsButIsMarkedNotInUse) {
    GatewayConfig config;
    Store(config, 0, Command(3, 100, 16));
    Store(config, 5, Command(4, 110, 10));
    Store(config, 5, Command(4, 200, 10));
    config.EditTcpClasses[3].ConnValid = 0;
    const MemoryLayout layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Ranges.size(), 3);
    EXPECT_TRUE(layout.Ranges[0].ClassInUse);
    EXPECT_FALSE(layout.Ranges[1].ClassInUse);
    ASSERT_EQ(layout.Overlaps.size(), 1);
    EXPECT_EQ(OverlapText(layout.Overlaps[0]),
              "COM1 instance 1 and Server 04 instance 1 (not in use) share 110..115");
}

TEST(MemoryOverlaps, OnlyStoredCommandsWithALengthOccupyMemory) {
    GatewayConfig config;
    Store(config, 3, Command(3, 100, 16));
    Store(config, 3, Command(3, 100, 0));                        // nothing occupied
    config.EditTcpClasses[1].Commands[2] = Command(3, 100, 16);  // beyond CmdCount
    config.EditSerialClasses[0].CmdCount = 200;  // only a gateway holds such a count
    config.EditSerialClasses[0].Commands[9] = Command(3, 100, 1);
    const MemoryLayout layout = FindMemoryLayout(config);
    ASSERT_EQ(layout.Ranges.size(), 2);
    EXPECT_EQ(layout.Ranges[0], (CommandRange{0, 9, 100, 100, false}));
    EXPECT_EQ(layout.Ranges[1], (CommandRange{3, 0, 100, 115, true}));
    ASSERT_EQ(layout.Overlaps.size(), 1);
    EXPECT_EQ(OverlapText(layout.Overlaps[0]),
              "COM1 instance 10 (not in use) and Server02 instance 1 share 100");
}

}  // namespace
}  // namespace kv
