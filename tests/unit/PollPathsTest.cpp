// Which poll connection paths the save window offers, and where it starts.

#include <gtest/gtest.h>

#include <optional>

#include "save/PollPaths.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr PollDirection In = PollDirection::Produced;
constexpr PollDirection Out = PollDirection::Consumed;

ModbusCommand Command(uint8_t functionCode) { return {1, 1, functionCode, 0, 0, 1}; }

void AddSerialCommands(GatewayConfig& config, int serial, std::initializer_list<uint8_t> codes) {
    SerialClassRecord& record = config.EditSerialClasses[serial];
    record.ConnMode = 1;
    for (uint8_t code : codes) record.Commands[record.CmdCount++] = Command(code);
}

// COM1: nine writing commands and a reading tenth; COM2: one command of each function code,
// then an invalid one; server 2 (0x68) holds commands but is not in use.
GatewayConfig Example() {
    GatewayConfig config;
    AddSerialCommands(config, 0, {16, 16, 16, 16, 16, 16, 16, 16, 16, 4});
    AddSerialCommands(config, 1, {1, 2, 3, 4, 5, 6, 15, 16, 3});
    config.EditSerialClasses[1].Commands[8].Valid = 0;
    TcpClassRecord& tcp = config.EditTcpClasses[1];
    tcp.CmdCount = 2;
    tcp.Commands[0] = Command(3);
    tcp.Commands[1] = Command(6);
    return config;
}

TEST(PollPathsTest, ListTextsReadBackAsTheirNumbersAndOtherTextsAsZero) {
    EXPECT_EQ(ItemNumber(ClassItemText(0x6A)), 0x6A);
    EXPECT_EQ(ItemNumber(MemberItemText(10)), 10);
    EXPECT_EQ(MemberItemText(10), "ID: 0x0A");
    for (const char* other : {"", "0x65", "ID: 0x"}) EXPECT_EQ(ItemNumber(other), 0) << other;
}

TEST(PollPathsTest, ClassesInUseOfferTheirValidCommandsOfTheDirection) {
    GatewayConfig config = Example();
    for (PollDirection direction : {In, Out}) {
        EXPECT_EQ(OfferedClasses(GatewayConfig{}, direction), Bytes{0x64});
        EXPECT_EQ(OfferedClasses(config, direction), (Bytes{0x64, 0x65, 0x66}));
    }
    const struct {
        PollDirection Direction;
        uint8_t Class;
        std::optional<Bytes> Instances;
    } rows[] = {{In, 0x64, Bytes{1}},          {Out, 0x64, Bytes{1}},
                {In, 0x65, Bytes{10}},         {Out, 0x65, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}},
                {In, 0x66, Bytes{1, 2, 3, 4}}, {Out, 0x66, Bytes{5, 6, 7, 8}},
                {In, 0x63, std::nullopt},  // a class the lists do not know
                {In, 0x6B, std::nullopt}};
    for (const auto& row : rows)
        EXPECT_EQ(OfferedInstances(config, row.Direction, row.Class), row.Instances)
            << int(row.Class);

    config.EditTcpClasses[1].ConnValid = 1;
    EXPECT_EQ(OfferedClasses(config, In), (Bytes{0x64, 0x65, 0x66, 0x68}));
    EXPECT_EQ(OfferedInstances(config, Out, 0x68), Bytes{2});
    config.EditSerialClasses[0].Commands[9].Valid = 0;  // COM1 reads no more
    EXPECT_EQ(OfferedClasses(config, In), (Bytes{0x64, 0x66, 0x68}));
}

TEST(PollPathsTest, EachFunctionCodeOffersTheAttributeOfItsData) {
    const GatewayConfig config = Example();
    const struct {
        PollDirection Direction;
        uint8_t Class, Instance;
        Bytes Attributes;
    } rows[] = {{In, 0x64, 1, {1, 2, 3}}, {Out, 0x64, 1, {1, 2, 3}}, {In, 0x66, 1, {0x0B}},
                {In, 0x66, 2, {0x0A}},    {In, 0x66, 3, {0x0D}},     {In, 0x66, 4, {0x0C}},
                {Out, 0x66, 5, {0x0B}},   {Out, 0x66, 6, {0x0D}},    {Out, 0x66, 7, {0x0B}},
                {Out, 0x66, 8, {0x0D}},   {In, 0x6B, 1, {}}};
    for (const auto& row : rows)
        EXPECT_EQ(OfferedAttributes(config, row.Direction, row.Class, row.Instance), row.Attributes)
            << int(row.Class) << "/" << int(row.Instance);
}

TEST(PollPathsTest, ReadOutPathIsKeptOnlyWhileItIsStillOffered) {
    const struct {
        PollDirection Direction;
        PollPath Path, Preselected;
    } rows[] = {
        {In, {0x66, 3, 0x0D}, {0x66, 3, 0x0D}},   {In, {0x66, 4, 0x0D}, FallbackPollPath},
        {In, {0x66, 6, 0x0D}, FallbackPollPath},  // a writing command
        {In, {0x66, 9, 0x0D}, FallbackPollPath},  // an invalid command
        {In, {0x66, 10, 0x0D}, FallbackPollPath}, {Out, {0x64, 1, 3}, {0x64, 1, 3}},
        {Out, {0x64, 1, 4}, FallbackPollPath},    {Out, {0x64, 2, 1}, FallbackPollPath},
        {In, {0, 0, 0}, FallbackPollPath},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PreselectedPath(Example(), row.Direction, row.Path), row.Preselected)
            << int(row.Path[1]);
}

}  // namespace
}  // namespace kv
