#pragma once
// A configuration that fills every field the gateway stores, each with its own value, so
// a test that loses, swaps or truncates a field notices.

#include <gtest/gtest.h>

#include "config/FunctionCodes.h"
#include "config/GatewayConfig.h"
#include "config/PortChecksum.h"

namespace kv::test {

inline ModbusCommand DistinctCommand(int classIndex, int slot) {
    ModbusCommand command;
    command.Valid = 1;
    command.NetId = static_cast<uint8_t>(1 + 20 * classIndex + slot);
    command.FunctionCode = FunctionCodes[(classIndex + slot) % FunctionCodes.size()];
    command.MemAddress = 2047 - 100 * classIndex - slot;
    command.StartAddress = 65535 - 1000 * classIndex - 7 * slot;
    command.Length = 1920 - 10 * classIndex - slot;
    return command;
}

inline GatewayConfig MaximalConfig() {
    GatewayConfig config;
    config.DeviceNetParams = {63, 2};
    config.FirmwareInfo = {1, 3, 2009, 7, 15};
    config.ConfigMarker = ConfigMarkerValid;
    config.ComBaudIndex = {7, 6};  // the positions of 115200 and 57600
    config.ConnectionPaths = {{0x64, 2, 3}, {0x65, 4, 5}};
    config.EthernetParams = {"192.168.255.1", "255.255.255.0", "192.168.0.1"};
    const std::array<double, SerialClassCount> bauds = {115200, 57600};
    for (int s = 0; s < SerialClassCount; ++s) {
        SerialClassRecord& record = config.SerialClasses[s];
        record.ConnMode = static_cast<uint8_t>(1 + s);
        record.CmdTimeout = 65535 - s;
        record.CmdCount = SerialCommandSlots;
        record.Baud = bauds[s];
        record.DataBits = static_cast<uint8_t>(8 - s);
        record.Parity = static_cast<uint8_t>(2 - s);
        record.StopBits = static_cast<uint8_t>(2 - s);
        record.PortChecksum = ComputePortChecksum(record);
        for (int slot = 0; slot < SerialCommandSlots; ++slot)
            record.Commands[slot] = DistinctCommand(s, slot);
    }
    for (int t = 0; t < TcpClassCount; ++t) {
        TcpClassRecord& record = config.TcpClasses[t];
        record.ConnValid = static_cast<uint8_t>(t % 2);
        record.ServerIp = {192, 168, static_cast<uint8_t>(t), static_cast<uint8_t>(250 + t)};
        record.ConnTimeout = 4294967295.0 - t;
        record.RetryConnTimeout = 16777216 + 3 * t;
        record.CmdTimeout = 70000 + t;
        record.CmdCount = TcpCommandSlots;
        for (int slot = 0; slot < TcpCommandSlots; ++slot)
            record.Commands[slot] = DistinctCommand(SerialClassCount + t, slot);
    }
    return config;
}

// GatewayConfig has no equality of its own; compare what the gateway stores, field group
// by field group, so a failure names the group.
inline void ExpectSameStoredFields(const GatewayConfig& actual, const GatewayConfig& expected) {
    EXPECT_TRUE(actual.DeviceNetParams == expected.DeviceNetParams);
    EXPECT_TRUE(actual.FirmwareInfo == expected.FirmwareInfo);
    EXPECT_EQ(actual.ConfigMarker, expected.ConfigMarker);
    EXPECT_EQ(actual.ComBaudIndex, expected.ComBaudIndex);
    EXPECT_TRUE(actual.ConnectionPaths == expected.ConnectionPaths);
    EXPECT_TRUE(actual.EthernetParams == expected.EthernetParams);
    for (int s = 0; s < SerialClassCount; ++s)
        EXPECT_TRUE(actual.SerialClasses[s] == expected.SerialClasses[s]) << "serial class " << s;
    for (int t = 0; t < TcpClassCount; ++t)
        EXPECT_TRUE(actual.TcpClasses[t] == expected.TcpClasses[t]) << "TCP class " << t;
}

}  // namespace kv::test
