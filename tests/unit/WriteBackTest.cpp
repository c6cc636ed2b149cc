// The save against the virtual gateway: the bytes the gateway ends with, the order of the
// edit sequences, the progress values and what a failure leaves behind.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "SaveTestGateway.h"
#include "config/PortChecksum.h"
#include "save/SaveConfiguration.h"
#include "save/SaveReports.h"
#include "sim/DemoImages.h"

namespace kv {
namespace {

using test::SaveTestGateway;
using Bytes = std::vector<uint8_t>;

const ConnectionPaths WorkingPaths{{0x64, 1, 2}, {0x64, 1, 3}};

ModbusCommand Command(uint8_t netId, uint8_t functionCode, double memory, double start,
                      int32_t length) {
    return {1, netId, functionCode, memory, start, length};
}

class WriteBackTest : public ::testing::Test {
protected:
    SaveOutcome Save(SaveTestGateway& gateway) {
        const SaveRequest request{WorkingPaths, {"desc", "me"}, {edsFolder.path()}};
        return SaveConfiguration(gateway.Link, gateway.Config, request, gateway.Record);
    }

    QTemporaryDir edsFolder;
};

TEST_F(WriteBackTest, ConfigurationWithoutCommands) {
    SaveTestGateway gateway(sim::FactoryImage());
    GatewayConfig& config = gateway.Config;
    config.EthernetParams = {" 10.1.2.3 ", "255.0.0.0", "10.1.2.254"};
    config.DeviceNetParams = {12, 2};
    config.ComBaudIndex = {7, 3};
    SerialClassRecord& com2 = config.SerialClasses[1];
    com2.Baud = 9600;
    com2.Parity = 1;
    com2.PortChecksum = ComputePortChecksum(com2);

    const SaveOutcome outcome = Save(gateway);

    ASSERT_EQ(outcome.Status, SaveStatus::Ok);
    EXPECT_EQ(gateway.Progress, (QList<int>{10, 15, 20, 25, 30, 35, 45, 50, 60, 65, 75, 80, 90, 95,
                                            105, 110, 120, 130}));
    EXPECT_EQ(
        gateway.EditSequences(),
        (QStringList{"block 0", "e 0", "e 16", "block 1", "e 6", "e 16", "block 8", "e 0",
                     "block 9", "e 0", "block 10", "e 0", "e 128", "block 11", "e 0", "e 128"}));
    const QStringList lines = gateway.LinesSent();
    // The console is brought back to its main prompt first, wherever it was left.
    const int ip = int(lines.indexOf("ip 10.1.2.3"));
    EXPECT_EQ(lines.mid(ip - 4, 8),
              (QStringList{".", "quit", "", "", "ip 10.1.2.3", "gateway 10.1.2.254",
                           "mask 255.0.0.0", "use eeprom"}));
    EXPECT_EQ(lines.last(), "quit");
    EXPECT_TRUE(gateway.Gateway.Console.Network ==
                (EthernetParams{"10.1.2.3", "255.0.0.0", "10.1.2.254"}));
    EXPECT_EQ(gateway.Bytes(0, 0, 8), (Bytes{0, 194, 1, 0, 8, 0, 1, 204}));
    EXPECT_EQ(gateway.Bytes(0, 16, 8), (Bytes{128, 37, 0, 0, 8, 1, 1, 175}));
    EXPECT_EQ(gateway.Bytes(1, 6, 6), (Bytes{1, 180, 12, 2, 7, 3}));
    EXPECT_EQ(gateway.Bytes(1, 16, 6), (Bytes{0x64, 1, 2, 0x64, 1, 3}));
    EXPECT_TRUE(QFile::exists(QDir(edsFolder.path()).filePath("KV-9052R_ 12.eds")));
}

TEST_F(WriteBackTest, SerialClassWithTenCommandsAndItsByteEncodings) {
    SaveTestGateway gateway(sim::FactoryImage());
    SerialClassRecord& com1 = gateway.Config.EditSerialClasses[0];
    com1.ConnMode = 1;
    com1.CmdTimeout = 1000;
    com1.CmdCount = 10;
    com1.Commands[0] = Command(7, 3, 300, 513, 10);
    for (int i = 1; i < 10; ++i) com1.Commands[i] = Command(uint8_t(i), 16, 20 * i, i, 1);

    ASSERT_EQ(Save(gateway).Status, SaveStatus::Ok);

    const QStringList sequences = gateway.EditSequences();
    const int block8 = int(sequences.indexOf("block 8"));
    EXPECT_EQ(sequences.mid(block8, 13),
              (QStringList{"block 8", "e 0", "e 16", "e 32", "e 48", "e 64", "e 80", "e 96",
                           "e 112", "e 128", "e 144", "e 160", "block 9"}));
    const int header = int(gateway.Progress.indexOf(35));
    EXPECT_EQ(gateway.Progress.mid(header, 13),
              (QList<int>{35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 45, 50}));
    EXPECT_EQ(gateway.Bytes(8, 0, 6), (Bytes{1, 0, 0, 3, 232, 10}));
    EXPECT_EQ(gateway.Bytes(8, 16, 9), (Bytes{1, 7, 3, 1, 44, 2, 1, 0, 10}));
}

TEST_F(WriteBackTest, TcpClassAtBase128WithFiveCommands) {
    SaveTestGateway gateway(sim::FactoryImage());
    TcpClassRecord& server = gateway.Config.EditTcpClasses[1];
    server.ConnValid = 1;
    server.ServerIp = {10, 0, 0, 9};
    server.ConnTimeout = 70000;
    server.RetryConnTimeout = 3;
    server.CmdTimeout = 1000;
    server.CmdCount = 5;
    for (int i = 0; i < 5; ++i) server.Commands[i] = Command(uint8_t(i + 1), 4, 100 * i, i, 120);

    ASSERT_EQ(Save(gateway).Status, SaveStatus::Ok);

    const QStringList sequences = gateway.EditSequences();
    const int block10 = int(sequences.indexOf("block 10"));
    EXPECT_EQ(sequences.mid(block10, 9), (QStringList{"block 10", "e 0", "e 128", "e 160", "e 176",
                                                      "e 192", "e 208", "e 224", "block 11"}));
    const int header = int(gateway.Progress.indexOf(80));
    EXPECT_EQ(gateway.Progress.mid(header, 8), (QList<int>{80, 81, 82, 83, 84, 85, 90, 95}));
    EXPECT_EQ(gateway.Bytes(10, 128, 18),
              (Bytes{1, 10, 0, 0, 9, 0, 1, 17, 112, 0, 0, 0, 3, 0, 0, 3, 232, 5}));
    EXPECT_EQ(gateway.Bytes(10, 224, 9), (Bytes{1, 5, 4, 1, 144, 0, 4, 0, 120}));
}

TEST_F(WriteBackTest, CountAboveTheSlotsWritesTheSlotsOnly) {
    SaveTestGateway gateway(sim::FactoryImage());
    SerialClassRecord& com2 = gateway.Config.EditSerialClasses[1];
    com2.ConnMode = 2;
    com2.CmdCount = 12;
    for (auto& command : com2.Commands) command = Command(1, 1, 0, 0, 8);
    ASSERT_EQ(Save(gateway).Status, SaveStatus::Ok);
    EXPECT_EQ(gateway.Block(9)[5], 12);
    EXPECT_EQ(gateway.Bytes(9, 160, 3), (Bytes{1, 1, 1}));
    EXPECT_EQ(gateway.Bytes(9, 176, 9), Bytes(9, 0));
    EXPECT_FALSE(gateway.EditSequences().contains("e 176"));
}

TEST_F(WriteBackTest, GatewayThatStopsAnsweringAfterBlock8KeepsWhatWasWritten) {
    SaveTestGateway gateway(sim::FactoryImage());
    gateway.Config.EditSerialClasses[0].ConnMode = 2;
    gateway.Config.EditTcpClasses[0].ConnValid = 1;
    gateway.Config.DeviceNetParams.NodeId = 33;
    const GatewayConfig before = gateway.Config;
    sim::ConsoleEmulator& console = gateway.Gateway.Console;
    gateway.Gateway.Port.EachWait = [&console, read = console.ReceivedLines().count("block 9")] {
        if (console.Faults.StopAfterLines < 0 && console.ReceivedLines().count("block 9") > read)
            console.Faults.StopAfterLines = console.LinesReceived();
    };
    const SaveOutcome outcome = Save(gateway);

    EXPECT_EQ(outcome.Status, SaveStatus::Timeout);
    EXPECT_EQ(gateway.Bytes(1, 8, 1), Bytes{33});
    EXPECT_EQ(gateway.Bytes(8, 0, 1), Bytes{2});
    for (int block : {9, 10, 11})
        EXPECT_TRUE(gateway.Block(block) == gateway.Before.Blocks[block]) << "block " << block;
    EXPECT_TRUE(gateway.Config.SerialClasses == before.SerialClasses) << "records not copied";
    EXPECT_TRUE(gateway.Config.TcpClasses == before.TcpClasses);
    EXPECT_EQ(gateway.Progress.last(), 45);
    EXPECT_TRUE(QDir(edsFolder.path()).isEmpty()) << "no EDS file after a failed write";
}

TEST_F(WriteBackTest, EdsFileThatCannotBeWrittenLeavesTheRecordsAlone) {
    SaveTestGateway gateway(sim::FactoryImage());
    gateway.Config.EditSerialClasses[0].ConnMode = 2;
    const SaveRequest request{WorkingPaths, {}, {QStringLiteral("/proc/no-such/folder")}};
    const SaveOutcome outcome =
        SaveConfiguration(gateway.Link, gateway.Config, request, gateway.Record);
    EXPECT_EQ(outcome.Status, SaveStatus::EdsFileFailed);
    EXPECT_FALSE(outcome.ErrorText.isEmpty());
    EXPECT_EQ(gateway.Block(8)[0], 2) << "the gateway holds the new configuration";
    EXPECT_EQ(gateway.Config.SerialClasses[0].ConnMode, 0);
    EXPECT_NE(gateway.Progress.last(), 130);
}

// The save window shows the port and time-out failures; here the two that carry their own text.
TEST(SaveReportsTest, FailuresWithTheirOwnTextClearTheState) {
    const FailureReport other = ReportPortFailure({PortOpenError::Other, "Permission denied"}, 4);
    EXPECT_EQ(other.Text, "Permission denied");
    EXPECT_EQ(other.CommunicationState, QString());
    const FailureReport eds = ReportSaveFailure({SaveStatus::EdsFileFailed, {}, "Disk full"});
    EXPECT_EQ(eds.Text, "Disk full");
    EXPECT_EQ(eds.CommunicationState, QString());
}

}  // namespace
}  // namespace kv
