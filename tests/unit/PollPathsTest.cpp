// Which poll connection paths the save window offers, and where it starts.

#include <gtest/gtest.h>

#include "save/PollPaths.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;

ModbusCommand Command(uint8_t functionCode) {
    ModbusCommand command;
    command.Valid = 1;
    command.NetId = 1;
    command.FunctionCode = functionCode;
    command.Length = 1;
    return command;
}

void AddSerialCommands(GatewayConfig& config, int serial, std::initializer_list<uint8_t> codes) {
    SerialClassRecord& record = config.EditSerialClasses[serial];
    record.ConnMode = 1;
    for (uint8_t code : codes) record.Commands[record.CmdCount++] = Command(code);
}

TEST(PollPathsTest, ListTextsReadBackAsTheirNumbersAndOtherTextsAsZero) {
    EXPECT_EQ(ItemNumber(ClassItemText(0x6A)), 0x6A);
    EXPECT_EQ(ItemNumber(MemberItemText(10)), 10);
    for (const char* other : {"", "0x65", "ID: 0x"}) EXPECT_EQ(ItemNumber(other), 0) << other;
}

TEST(PollPathsTest, WithoutCommandsOnlyTheParameterObjectIsOffered) {
    const GatewayConfig config;
    for (PollDirection direction : {PollDirection::Produced, PollDirection::Consumed}) {
        EXPECT_EQ(OfferedClasses(config, direction), Bytes{0x64});
        EXPECT_EQ(OfferedInstances(config, direction, 0x64), Bytes{1});
        EXPECT_EQ(OfferedAttributes(config, direction, 0x64, 1), (Bytes{1, 2, 3}));
    }
}

TEST(PollPathsTest, ReadingAndWritingCommandsOfOneClassSplitBetweenTheGroups) {
    GatewayConfig config;
    AddSerialCommands(config, 0, {3, 16, 3});
    EXPECT_EQ(OfferedClasses(config, PollDirection::Produced), (Bytes{0x64, 0x65}));
    EXPECT_EQ(OfferedClasses(config, PollDirection::Consumed), (Bytes{0x64, 0x65}));
    EXPECT_EQ(OfferedInstances(config, PollDirection::Produced, 0x65), (Bytes{1, 3}));
    EXPECT_EQ(OfferedInstances(config, PollDirection::Consumed, 0x65), Bytes{2});
    EXPECT_EQ(OfferedAttributes(config, PollDirection::Produced, 0x65, 1), Bytes{0x0D});
    EXPECT_EQ(OfferedAttributes(config, PollDirection::Consumed, 0x65, 2), Bytes{0x0D});
}

TEST(PollPathsTest, EachFunctionCodeOffersTheAttributeOfItsData) {
    GatewayConfig config;
    AddSerialCommands(config, 1, {1, 2, 3, 4, 5, 6, 15, 16});
    const Bytes produced = {0x0B, 0x0A, 0x0D, 0x0C};
    for (uint8_t instance = 1; instance <= 4; ++instance)
        EXPECT_EQ(OfferedAttributes(config, PollDirection::Produced, 0x66, instance),
                  Bytes{produced[instance - 1]});
    const Bytes consumed = {0x0B, 0x0D, 0x0B, 0x0D};
    for (uint8_t instance = 5; instance <= 8; ++instance)
        EXPECT_EQ(OfferedAttributes(config, PollDirection::Consumed, 0x66, instance),
                  Bytes{consumed[instance - 5]});
}

TEST(PollPathsTest, TenthCommandIsListedAsInstanceTen) {
    GatewayConfig config;
    AddSerialCommands(config, 0, {16, 16, 16, 16, 16, 16, 16, 16, 16, 4});
    EXPECT_EQ(OfferedInstances(config, PollDirection::Produced, 0x65), Bytes{10});
    EXPECT_EQ(MemberItemText(OfferedInstances(config, PollDirection::Produced, 0x65)->at(0)),
              "ID: 0x0A");
}

TEST(PollPathsTest, UnusedClassesAndInvalidCommandsAreNeverListed) {
    GatewayConfig config;
    TcpClassRecord& tcp = config.EditTcpClasses[1];
    tcp.ConnValid = 0;
    tcp.CmdCount = 2;
    tcp.Commands[0] = Command(3);
    tcp.Commands[1] = Command(6);
    SerialClassRecord& serial = config.EditSerialClasses[0];
    serial.ConnMode = 2;
    serial.CmdCount = 1;
    serial.Commands[0] = Command(3);
    serial.Commands[0].Valid = 0;
    EXPECT_EQ(OfferedClasses(config, PollDirection::Produced), Bytes{0x64});
    EXPECT_EQ(OfferedClasses(config, PollDirection::Consumed), Bytes{0x64});

    tcp.ConnValid = 1;
    EXPECT_EQ(OfferedClasses(config, PollDirection::Produced), (Bytes{0x64, 0x68}));
    EXPECT_EQ(OfferedInstances(config, PollDirection::Consumed, 0x68), Bytes{2});
}

TEST(PollPathsTest, AClassTheListsDoNotKnowLeavesTheInstancesAlone) {
    const GatewayConfig config;
    EXPECT_FALSE(OfferedInstances(config, PollDirection::Produced, 0x63).has_value());
    EXPECT_FALSE(OfferedInstances(config, PollDirection::Produced, 0x6B).has_value());
    EXPECT_TRUE(OfferedAttributes(config, PollDirection::Produced, 0x6B, 1).empty());
}

TEST(PollPathsTest, ReadOutPathIsKeptOnlyWhileItsCommandStillReads) {
    GatewayConfig config;
    AddSerialCommands(config, 1, {16, 4, 3});
    const PollPath readPath = {0x66, 3, 0x0D};
    EXPECT_EQ(PreselectedPath(config, PollDirection::Produced, readPath), readPath);

    config.EditSerialClasses[1].Commands[2].FunctionCode = 4;  // now attribute 0x0C
    EXPECT_EQ(PreselectedPath(config, PollDirection::Produced, readPath), FallbackPollPath);
    config.EditSerialClasses[1].Commands[2].FunctionCode = 6;  // now a writing command
    EXPECT_EQ(PreselectedPath(config, PollDirection::Produced, readPath), FallbackPollPath);
    config.EditSerialClasses[1].CmdCount = 2;  // command 3 deleted
    config.EditSerialClasses[1].Commands[2].FunctionCode = 3;
    EXPECT_EQ(PreselectedPath(config, PollDirection::Produced, readPath), FallbackPollPath);
}

TEST(PollPathsTest, ParameterObjectPathsAndZeroPaths) {
    const GatewayConfig config;
    EXPECT_EQ(PreselectedPath(config, PollDirection::Consumed, {0x64, 1, 3}),
              (PollPath{0x64, 1, 3}));
    EXPECT_EQ(PreselectedPath(config, PollDirection::Consumed, {0x64, 1, 4}), FallbackPollPath);
    EXPECT_EQ(PreselectedPath(config, PollDirection::Consumed, {0x64, 2, 1}), FallbackPollPath);
    EXPECT_EQ(PreselectedPath(config, PollDirection::Produced, {0, 0, 0}), FallbackPollPath);
}

}  // namespace
}  // namespace kv
