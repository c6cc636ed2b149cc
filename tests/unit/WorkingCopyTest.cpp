#include <gtest/gtest.h>

#include "config/WorkingCopy.h"

namespace kv {
namespace {

ModbusCommand Command(uint8_t netId) { return {1, netId, 3, 10.0 * netId, 100, 2}; }

CommandFieldTexts ValidFields(const QString& netId) { return {netId, 3, "0", "2", "40"}; }

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

    // Compared with what it was made from by value: left-overs and counts cut to the
    // maximum are no change; an attribute set to another value is.
    EXPECT_FALSE(WorkingCopyChanged(config));
    config.EditTcpClasses[1].RetryConnTimeout = 5;
    EXPECT_TRUE(WorkingCopyChanged(config));
}

// Add, Update and Delete on a class, with one signature for the table.
QString Add(GatewayConfig& config, int classIndex, int, const QString& netId) {
    return AddCommand(config, classIndex, ValidFields(netId));
}
QString Update(GatewayConfig& config, int classIndex, int slot, const QString& netId) {
    return UpdateCommand(config, classIndex, slot, ValidFields(netId));
}
QString Delete(GatewayConfig& config, int classIndex, int slot, const QString&) {
    DeleteCommand(config, classIndex, slot);
    return {};
}

// Add fills the next slot and refuses a full class before looking at the fields; Update
// replaces a used slot; Delete moves the later commands up and clears the slot freed. A
// slot not in use changes nothing. The class holds `count` commands, net IDs 1, 2, ...
TEST(WorkingCopy, AddUpdateAndDeleteKeepTheSlotsWithoutGaps) {
    using Edit = QString (*)(GatewayConfig&, int, int, const QString&);
    const struct {
        Edit edit;
        int classIndex, count, slot;
        QString netId, error;
        int countAfter;
        std::vector<int> netIdsAfter;
    } rows[] = {
        {Add, 2, 4, -1, "9", "", 5, {1, 2, 3, 4, 9}},
        {Add, 2, 5, -1, "0", "Support Maximun 5 Instances.", 5, {1, 2, 3, 4, 5}},
        {Add, 0, 10, -1, "9", "Support Maximun 10 Instances.", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {Add, 3, 1, -1, "0", "ModBus Device Address Error. (1-247)", 1, {1, 0, 0, 0, 0}},
        {Update, 2, 2, 1, "9", "", 2, {1, 9, 0, 0, 0}},
        {Update, 2, 2, 2, "9", "Select an instance to update.", 2, {1, 2, 0, 0, 0}},
        {Update, 2, 2, -1, "9", "Select an instance to update.", 2, {1, 2, 0, 0, 0}},
        {Update, 2, 2, 0, "0", "ModBus Device Address Error. (1-247)", 2, {1, 2, 0, 0, 0}},
        {Delete, 2, 4, 1, "", "", 3, {1, 3, 4, 0, 0}},
        {Delete, 2, 5, 4, "", "", 4, {1, 2, 3, 4, 0}},
        {Delete, 2, 1, 0, "", "", 0, {0, 0, 0, 0, 0}},
        {Delete, 2, 3, 3, "", "", 3, {1, 2, 3, 0, 0}},
        {Delete, 2, 3, -1, "", "", 3, {1, 2, 3, 0, 0}},
    };
    for (const auto& r : rows) {
        GatewayConfig config;
        auto commands = EditClassCommands(config, r.classIndex);
        commands.CmdCount = uint8_t(r.count);
        for (int k = 0; k < r.count; ++k) commands.Slots[k] = Command(uint8_t(k + 1));
        EXPECT_EQ(r.edit(config, r.classIndex, r.slot, r.netId), r.error);
        std::vector<int> netIds;
        for (const auto& command : commands.Slots) netIds.push_back(command.NetId);
        EXPECT_EQ(netIds, r.netIdsAfter) << r.count << " " << r.slot;
        EXPECT_EQ(commands.CmdCount, r.countAfter);
    }
}

}  // namespace
}  // namespace kv
