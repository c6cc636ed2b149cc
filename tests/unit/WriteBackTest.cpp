// The save and the factory reset against the virtual gateway: the bytes the gateway ends
// with, the order of the edit sequences, the progress values and what a failure leaves behind.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "save/FactoryReset.h"
#include "save/SaveConfiguration.h"
#include "save/SaveReports.h"
#include "sim/DemoImages.h"
#include "support/ReadForEditing.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;

// A virtual gateway read the way the main window reads it, with the editor's working copy
// made, ready for a save or a factory reset on an open port.
struct SaveTestGateway {
    explicit SaveTestGateway(const EepromImage& image) {
        Gateway.Console.Eeprom = image;
        ReadLines = test::ReadForEditing(Gateway, Link, Config);
        EXPECT_GE(ReadLines, 0);
        EXPECT_TRUE(Gateway.Port.Open().ok());
    }

    // The lines of the last operation only, without those of the read-out.
    QStringList LinesSent() const { return Gateway.LinesReceived().mid(ReadLines); }

    // "block N" and "e A" lines: the order of the edit sequences.
    QStringList EditSequences() const {
        return LinesSent().filter(QRegularExpression("^(block|e) "));
    }

    const EepromBlock& Block(int block) const { return Gateway.Console.Eeprom.Blocks[block]; }
    Bytes At(int block, int address, int count) const {
        return {Block(block).begin() + address, Block(block).begin() + address + count};
    }

    test::SimulatedGateway Gateway;
    ConsoleLink Link{Gateway.Port, Gateway.Clock};
    GatewayConfig Config;
    QList<int> Progress;
    ProgressFn Record = [this](int value) { Progress.append(value); };
    int ReadLines = 0;

    SaveOutcome Save() {
        const SaveRequest request{{{0x64, 1, 2}, {0x64, 1, 3}}, {"desc", "me"}, {EdsFolder.path()}};
        return SaveConfiguration(Link, Config, request, Record);
    }
    QTemporaryDir EdsFolder;
};

ModbusCommand Command(uint8_t netId, uint8_t functionCode, double memory, double start,
                      int32_t length) {
    return {1, netId, functionCode, memory, start, length};
}

// COM1 with ten commands, COM2 holding a count above its slots, server 2 at base 128 with
// five, new port, DeviceNet and Ethernet settings.
TEST(WriteBackTest, WritesEveryRunAndTheEthernetSettings) {
    SaveTestGateway gateway(sim::FactoryImage());
    GatewayConfig& config = gateway.Config;
    config.EthernetParams = {" 10.1.2.3 ", "255.0.0.256", "10.1.2.254"};
    // An address that the Ethernet Set refuses stops the save before its first line.
    EXPECT_EQ(ReportSaveFailure(gateway.Save()).Text,
              "Invalid Mask address!\nNothing was written.");
    config.EthernetParams.Mask = "255.0.0.0";
    config.DeviceNetParams = {12, 2};
    config.ComBaudIndex = {7, 3};
    config.SerialClasses[1] = {0, 0, 0, 9600, 8, 1, 1, 175};
    SerialClassRecord& com1 = config.EditSerialClasses[0];
    com1 = {1, 1000, 10};
    com1.Commands[0] = Command(7, 3, 300, 513, 10);
    for (int i = 1; i < 10; ++i) com1.Commands[i] = Command(uint8_t(i), 16, 20 * i, i, 1);
    SerialClassRecord& com2 = config.EditSerialClasses[1];
    com2 = {2, 0, 12};
    for (auto& command : com2.Commands) command = Command(1, 1, 0, 0, 8);
    TcpClassRecord& server = config.EditTcpClasses[1];
    server = {1, {10, 0, 0, 9}, 70000, 3, 1000, 5};
    for (int i = 0; i < 5; ++i) server.Commands[i] = Command(uint8_t(i + 1), 4, 100 * i, i, 120);

    ASSERT_EQ(gateway.Save().Status, SaveStatus::Ok);

    EXPECT_EQ(gateway.EditSequences().join(','),
              "block 0,e 0,e 16,block 1,e 6,e 16,block 8,e 0,e 16,e 32,e 48,e 64,e 80,e 96,e 112,"
              "e 128,e 144,e 160,block 9,e 0,e 16,e 32,e 48,e 64,e 80,e 96,e 112,e 128,e 144,"
              "e 160,block 10,e 0,e 128,e 160,e 176,e 192,e 208,e 224,block 11,e 0,e 128");
    EXPECT_EQ(gateway.Progress,
              (QList<int>{10, 15, 20, 25, 30, 35, 36, 37, 38, 39,  40,  41,  42, 43, 44,
                          45, 45, 50, 51, 52, 53, 54, 55, 56, 57,  58,  59,  60, 60, 65,
                          75, 80, 81, 82, 83, 84, 85, 90, 95, 105, 110, 120, 130}));
    const struct {
        int Block, Address;
        Bytes Expected;
    } rows[] = {
        {0, 0, {0, 194, 1, 0, 8, 0, 1, 204}},
        {0, 16, {128, 37, 0, 0, 8, 1, 1, 175}},
        {1, 6, {1, 180, 12, 2, 7, 3}},
        {1, 16, {0x64, 1, 2, 0x64, 1, 3}},
        {8, 0, {1, 0, 0, 3, 232, 10}},
        {8, 16, {1, 7, 3, 1, 44, 2, 1, 0, 10}},
        {9, 0, {2, 0, 0, 0, 0, 12}},
        {9, 160, {1, 1, 1, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {10, 128, {1, 10, 0, 0, 9, 0, 1, 17, 112, 0, 0, 0, 3, 0, 0, 3, 232, 5}},
        {10, 224, {1, 5, 4, 1, 144, 0, 4, 0, 120}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(gateway.At(row.Block, row.Address, int(row.Expected.size())), row.Expected)
            << "block " << row.Block << " address " << row.Address;
    const QStringList lines = gateway.LinesSent();
    // The console is brought back to its main prompt first, wherever it was left.
    const int ip = int(lines.indexOf("ip 10.1.2.3"));
    EXPECT_EQ(lines.mid(ip - 4, 8),
              (QStringList{".", "quit", "", "", "ip 10.1.2.3", "gateway 10.1.2.254",
                           "mask 255.0.0.0", "use eeprom"}));
    EXPECT_EQ(lines.last(), "quit");
    EXPECT_TRUE(gateway.Gateway.Console.Network ==
                (EthernetParams{"10.1.2.3", "255.0.0.0", "10.1.2.254"}));
    EXPECT_TRUE(QFile::exists(QDir(gateway.EdsFolder.path()).filePath("KV-9052R_ 12.eds")));
}

TEST(WriteBackTest, GatewayThatStopsAnsweringAfterBlock8KeepsWhatWasWritten) {
    SaveTestGateway gateway(sim::FactoryImage());
    gateway.Config.EditSerialClasses[0].ConnMode = 2;
    gateway.Config.DeviceNetParams.NodeId = 33;
    // Silent from the save's "block 9" on.
    gateway.Gateway.Console.Faults.StopAfterLines = gateway.ReadLines + 59;
    const SaveOutcome outcome = gateway.Save();

    EXPECT_EQ(outcome.Status, SaveStatus::Timeout);
    EXPECT_EQ(gateway.At(1, 8, 1), Bytes{33});
    EXPECT_EQ(gateway.At(8, 0, 1), Bytes{2});
    for (int block : {9, 10, 11})
        EXPECT_TRUE(gateway.Block(block) == sim::FactoryImage().Blocks[block]) << "block " << block;
    // The records and the EDS file after a failed write: SaveWindowTest.
    EXPECT_EQ(gateway.Progress.last(), 45);
}

// An EDS file that cannot be written, and the reports of failures: SaveWindowTest and
// MainWindowTest.

TEST(FactoryResetTest, WritesOnlyTheFactoryBytes) {
    SaveTestGateway gateway(sim::DemoImage());
    gateway.Config.EthernetParams = {"10.9.9.9", "255.255.0.0", "10.9.9.1"};

    ASSERT_EQ(FactoryReset(gateway.Link, gateway.Config, gateway.Record), WriteResult::Ok);

    EepromImage expected = sim::DemoImage();
    for (const auto& [block, address, value] :
         {std::array{0, 7, 0}, {0, 23, 0}, {1, 6, 0}, {1, 7, 0}, {1, 8, 1}, {1, 9, 0}})
        expected.Blocks[block][address] = uint8_t(value);
    EXPECT_TRUE(gateway.Gateway.Console.Eeprom == expected);
    EXPECT_TRUE(gateway.Gateway.Console.Network == FactoryEthernetParams());
    EXPECT_EQ(gateway.EditSequences(),
              (QStringList{"block 0", "e 7", "e 23", "block 1", "e 6", "e 8"}));
    EXPECT_EQ(gateway.Progress, (QList<int>{3, 5, 7, 9, 10}));

    // The model's Ethernet settings: SaveWindowTest.
    EXPECT_TRUE(gateway.Config.DeviceNetParams == (DeviceNetParams{1, 0}));
    EXPECT_EQ(gateway.Config.ConfigMarker, 436) << "the model's marker is kept";
}

TEST(FactoryResetTest, FailureAfterTheEthernetSettingsKeepsTheOldEeprom) {
    SaveTestGateway gateway(sim::DemoImage());
    gateway.Config.DeviceNetParams = {20, 2};
    // The console answers the recovery and the Ethernet settings, then nothing more.
    const int recoveryLines = 7;
    gateway.Gateway.Console.Faults.StopAfterLines = gateway.ReadLines + recoveryLines + 3;

    EXPECT_EQ(FactoryReset(gateway.Link, gateway.Config, gateway.Record), WriteResult::Timeout);

    EXPECT_TRUE(gateway.Gateway.Console.Network == FactoryEthernetParams());
    EXPECT_TRUE(gateway.Gateway.Console.Eeprom == sim::DemoImage());
    EXPECT_TRUE(gateway.Config.EthernetParams == FactoryEthernetParams());
    EXPECT_TRUE(gateway.Config.DeviceNetParams == (DeviceNetParams{20, 2}));
    EXPECT_EQ(gateway.Progress, QList<int>{3});
    EXPECT_EQ(gateway.LinesSent().mid(recoveryLines + 3), QStringList{"use eeprom"});
}

}  // namespace
}  // namespace kv
