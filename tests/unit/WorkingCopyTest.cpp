#include <gtest/gtest.h>

#include "config/WorkingCopy.h"

namespace kv {
namespace {

ModbusCommand Command(uint8_t netId) { return {1, netId, 3, 10.0 * netId, 100, 2}; }

CommandFieldTexts ValidFields(int netId) {
    return {QString::number(netId), 3, "0", "2", QString::number(10 * netId)};
}

// A configuration as read from a gateway: every class holds commands, and the slots beyond
// the counts hold left-overs that must not reach the working copy.
GatewayConfig ReadConfig() {
    GatewayConfig config;
    auto& com1 = config.SerialClasses[0];
    com1 = {1, 500, 2, 9600};
    for (int k = 0; k < SerialCommandSlots; ++k) com1.Commands[k] = Command(uint8_t(k + 1));
    auto& server = config.TcpClasses[1];
    server = {1, {192, 168, 1, 20}, 3, 4, 70000, 1};
    for (int k = 0; k < TcpCommandSlots; ++k) server.Commands[k] = Command(uint8_t(20 + k));
    return config;
}

// A count above the class maximum, as only a gateway holds it, is taken as the maximum.
TEST(WorkingCopy, CopiesAttributesAndOnlyTheUsedSlots) {
    auto config = ReadConfig();
    config.EditTcpClasses[0] = {1, {}, 0, 0, 0, 3, {Command(9)}};  // left from an earlier session
    config.SerialClasses[1] = config.SerialClasses[0];
    config.SerialClasses[1].CmdCount = 200;
    config.TcpClasses[2] = config.TcpClasses[1];
    config.TcpClasses[2].CmdCount = 6;
    MakeWorkingCopy(config);

    // Port settings are not the editor's.
    EXPECT_EQ(config.EditSerialClasses[0],
              (SerialClassRecord{1, 500, 2, 0, 0, 0, 0, 0, {Command(1), Command(2)}}));
    EXPECT_EQ(config.EditSerialClasses[1].CmdCount, 10);
    EXPECT_EQ(config.EditSerialClasses[1].Commands[9], Command(10));
    EXPECT_EQ(config.EditTcpClasses[0], TcpClassRecord{});
    EXPECT_EQ(config.EditTcpClasses[1],
              (TcpClassRecord{1, {192, 168, 1, 20}, 3, 4, 70000, 1, {Command(20)}}));
    EXPECT_EQ(config.EditTcpClasses[2].CmdCount, 5);
    EXPECT_EQ(config.EditTcpClasses[2].Commands[4], Command(24));
    EXPECT_TRUE(StoredConnectionOn(config, 3));
    EXPECT_FALSE(StoredConnectionOn(config, 2));
}

// Add, Update and Delete as the user meets them are AppObjEditorTest's; here the calls the
// editor's buttons never make.
TEST(WorkingCopy, UpdateOrDeleteOfAnUnusedSlotChangesNothing) {
    auto config = ReadConfig();
    MakeWorkingCopy(config);
    const auto before = config.EditSerialClasses[0];
    EXPECT_EQ(UpdateCommand(config, 0, 2, ValidFields(9)), "Select an instance to update.");
    DeleteCommand(config, 0, 3);
    DeleteCommand(config, 0, -1);
    EXPECT_EQ(config.EditSerialClasses[0], before);
}

}  // namespace
}  // namespace kv
