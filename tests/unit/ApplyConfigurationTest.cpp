// Writes against the virtual gateway. The save and the factory reset: the bytes the gateway
// ends with, the order of the edit sequences, the progress values and what a failure leaves
// behind. `apply`: a file merged into what the gateway holds, checked as the windows check,
// written as the save writes, and refused before anything is sent. Writes (apply and
// restore) that stop half-way: the gateway's configuration is kept before the first byte,
// and the outcome says what became of the gateway and which backup brings it back. The EEPROM
// backup file, and the copies between a gateway and that file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "backup/EepromCopy.h"
#include "backup/RestoreBackup.h"
#include "save/ApplyConfiguration.h"
#include "save/ApplyPlan.h"
#include "save/FactoryReset.h"
#include "save/SaveConfiguration.h"
#include "sim/DemoImages.h"
#include "support/ReadForEditing.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;
using test::ReadAll;
using test::SimulatedGateway;
using test::WriteAll;

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
    config.EthernetParams = {" 10.1.2.3 ", "255.0.0.0", "10.1.2.254"};
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
// MainWindowConnectTest.

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

QJsonObject Json(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

// Command lines the demo gateway takes for one read-out, and for a whole apply (read,
// write, read back) of ChangedTimeout.
constexpr int ReadLines = 231;
constexpr int ApplyLines = 700;
const QByteArray ChangedTimeout = R"({"SerialClasses": [{"CmdTimeout": 500}]})";

// A demo gateway on an open port; restores write the backup file of a factory gateway.
class ApplyConfigurationTest : public ::testing::Test {
protected:
    ApplyConfigurationTest() {
        gateway.Console.Eeprom = sim::DemoImage();
        EXPECT_TRUE(gateway.Port.Open().ok());
    }

    ApplyOutcome Apply(const QByteArray& file, bool dryRun = false) {
        const ApplyOptions options{{edsFolder.path()}, {"line 2", "cli"}, true, {}, dryRun, backups,
                                   "/dev/pts/7"};
        return ApplyConfiguration(link, Json(file), options);
    }
    RestoreOutcome Restore() {
        EXPECT_TRUE(WriteAll(factoryBackup, BackupFile::Encode(sim::FactoryImage())));
        return RestoreBackup(link, factoryBackup, {false, backups, "COM3", {}});
    }
    bool GatewayUnchanged() const {
        return gateway.Console.Eeprom.Blocks == sim::DemoImage().Blocks;
    }

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    QTemporaryDir edsFolder;
    const QString factoryBackup = edsFolder.filePath("factory.ini");
    const QString backups = edsFolder.filePath("backups");
};

// A file with faults is refused naming each one; a dry run lists the changes. Either only
// reads the gateway.
TEST_F(ApplyConfigurationTest, RefusedFilesAndDryRunsWriteNothing) {
    const struct {
        const char* File;
        bool DryRun;
        QStringList Errors;
        QStringList Changes;
    } rows[] = {
        {R"({"DeviceNetParams": {"NodeId": 64, "BaudIndex": 3},
            "SerialClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2040, "StartAddress": 0, "Length": 4},
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2000, "StartAddress": 0, "Length": 48}
            ]}]})",
         false,
         {"DeviceNetParams.NodeId: Node ID is not supported!(0~63)",
          "DeviceNetParams.BaudIndex: Baud rate is not supported!",
          "SerialClasses[0].Commands[1].MemAddress/Length: Communication Length Greater Than "
          "Internal Memory"},
         {}},
        {R"({"EthernetParams": {"Ip": "10.0.0.255", "Mask": "255.255.256.0"},
            "ConnectionPaths": {"PollConsume": [101, 1, 13]}})",
         false,
         {"EthernetParams.Ip: Invalid IP address!", "EthernetParams.Mask: Invalid Mask address!",
          "ConnectionPaths.PollConsume: is not among the paths the save window offers for these "
          "classes"},
         {}},
        {R"({"DeviceNetParams": {"NodeId": "five"}, "SerialClasses": [{}, {"Parity": "MARK"}],
            "TcpClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 7, "MemAddress": 0, "StartAddress": 0, "Length": 1}
            ]}]})",
         false,
         {"DeviceNetParams.NodeId: must be a number",
          R"(SerialClasses[1].Parity: unknown name "MARK"; the names are "NONE", "EVEN", "ODD")",
          "TcpClasses[0].Commands[0].FunctionCode: Modbus Function Code Error. (1-6, 15, 16)"},
         {}},
        {R"({"DeviceNetParams": {"NodeId": 9}, "EthernetParams": {"Ip": "10.0.0.7"},
            "TcpClasses": [{}, {"ConnValid": "YES"}]})",
         true,
         {},
         {"DeviceNetParams.NodeId: 5 -> 9", R"(EthernetParams.Ip: "192.168.255.1" -> "10.0.0.7")",
          "TcpClasses[1].ConnValid: 0 -> 1"}},
    };
    for (const auto& row : rows) {
        const ApplyOutcome outcome = Apply(row.File, row.DryRun);
        EXPECT_EQ(outcome.Ok, row.Errors.isEmpty());
        EXPECT_FALSE(outcome.Written);
        EXPECT_EQ(outcome.Errors, row.Errors);
        EXPECT_EQ(outcome.Changes, row.Changes);
    }
    EXPECT_EQ(gateway.LinesReceived().size(), std::size(rows) * ReadLines) << "read-outs only";
    EXPECT_TRUE(GatewayUnchanged());
    EXPECT_TRUE(QDir(edsFolder.path()).isEmpty());
}

TEST_F(ApplyConfigurationTest, WritesTheMergedConfigurationAndReadsItBack) {
    const ApplyOutcome outcome = Apply(R"({
        "FirmwareInfo": {"Major": 9},
        "EthernetParams": {"Ip": " 10.0.0.7 "},
        "SerialClasses": [{"CmdTimeout": 500, "PortChecksum": 7,
                           "Commands": [{"NetId": 9, "FunctionCode": 16, "MemAddress": 300,
                                         "StartAddress": 513, "Length": 10}]}]})");

    EXPECT_TRUE(outcome.Ok) << outcome.Errors.join('\n').toStdString();
    EXPECT_EQ(outcome.Warnings, QStringList{"FirmwareInfo: the gateway's own value is kept"});
    EXPECT_EQ(gateway.Console.Network.Ip, "10.0.0.7");
    const auto& com1 = gateway.Console.Eeprom.Blocks[8];
    EXPECT_EQ(Bytes(com1.begin() + 1, com1.begin() + 6), (Bytes{0, 0, 1, 244, 1}));
    EXPECT_EQ(Bytes(com1.begin() + 16, com1.begin() + 25), (Bytes{1, 9, 16, 1, 44, 2, 1, 0, 10}));
    EXPECT_EQ(gateway.Console.Eeprom.Blocks[0][7], 85) << "check byte computed, not the file's";
    // The produced path read from the gateway named COM1's first command, which no longer
    // reads: the save window's fallback is written.
    const auto& settings = gateway.Console.Eeprom.Blocks[1];
    EXPECT_EQ(Bytes(settings.begin() + 16, settings.begin() + 19), (Bytes{0x64, 1, 1}));
    EXPECT_TRUE(QFile::exists(outcome.EdsPath));
    EXPECT_EQ(outcome.State, ApplyState::WrittenVerified);

    // The gateway as it was is kept first, and applying that backup brings it back.
    ASSERT_TRUE(QFileInfo(outcome.BackupPath).fileName().endsWith("_node5_7.json"))
        << outcome.BackupPath.toStdString();
    const ApplyOutcome back = Apply(ReadAll(outcome.BackupPath));
    EXPECT_EQ(back.State, ApplyState::WrittenVerified) << back.Errors.join('\n').toStdString();
    EXPECT_EQ(gateway.Console.Network.Ip, "192.168.255.1");
    EXPECT_EQ(gateway.Console.Eeprom.Blocks[8], sim::DemoImage().Blocks[8]);
}

TEST_F(ApplyConfigurationTest, NoBackupNoWrite) {
    ASSERT_TRUE(WriteAll(backups, "a file where the folder should be"));
    const RestoreOutcome restored = Restore();
    EXPECT_EQ(restored.Copy.Result, CopyResult::NoBackupKept);
    EXPECT_TRUE(RestoreOutcomeText(restored, factoryBackup).endsWith("\nNothing was written."));
    EXPECT_TRUE(GatewayUnchanged());
}

// The console goes silent after a number of lines: during the read that the backup is
// made of, during the write, during the read-back; or never. What a restore wrote:
// EepromCopyTest.
struct Interruption {
    const char* What;
    int SilentAfterLines;
    bool Restore;  // else apply
    bool GatewayUnchanged;
    bool BackupKept;
    const char* Text;  // %1: the backup's path
};

// Names the row in the test's name.
void PrintTo(const Interruption& row, std::ostream* out) { *out << row.What; }

class InterruptedWriteTest : public ApplyConfigurationTest,
                             public ::testing::WithParamInterface<Interruption> {};

TEST_P(InterruptedWriteTest, SaysWhatBecameOfTheGateway) {
    const Interruption& c = GetParam();
    gateway.Console.Faults.StopAfterLines = c.SilentAfterLines;
    QString text;
    QString backup;
    if (c.Restore) {
        const RestoreOutcome outcome = Restore();
        backup = outcome.BackupPath;
        text = RestoreOutcomeText(outcome, factoryBackup);
    } else {
        const ApplyOutcome outcome = Apply(ChangedTimeout);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_TRUE(outcome.ConsoleFailed);
        backup = outcome.BackupPath;
        text = ApplyStateText(outcome);
    }
    EXPECT_EQ(text, QString::fromUtf8(c.Text).replace("%1", backup));
    EXPECT_EQ(GatewayUnchanged(), c.GatewayUnchanged);
    EXPECT_EQ(QFileInfo(backup).isFile(), c.BackupKept);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InterruptedWriteTest,
    ::testing::Values(
        Interruption{"restore", -1, true, false, true, "Export to KV-9052R's EEPROM finished."},
        Interruption{"restore, reading", 40, true, true, false,
                     "The gateway could not be read for a backup: Timeout\nNothing was written."},
        Interruption{
            "restore, writing", ReadLines + 40, true, false, true,
            "Timeout\nTo get the earlier configuration back: kv9052r-cli apply --port P %1"},
        Interruption{"apply, writing", ReadLines + 70, false, false, true,
                     "The gateway is partly written."},
        Interruption{"apply, reading back", ApplyLines - 40, false, false, true,
                     "Written, but not verified: the read-back failed."}));

TEST(ApplyPlanTest, JsonDifferencesNameTheirKeyPaths) {
    const QJsonObject expected = Json(R"({"a": {"b": [1, 2], "c": "x"}, "d": 4})");
    const QJsonObject actual = Json(R"({"a": {"b": [1, 3], "c": "x"}, "e": true})");
    EXPECT_EQ(JsonDifferences(expected, actual),
              (QStringList{"a.b[1]: 2, read 3", "d: 4, read nothing", "e: nothing, read true"}));
}

// A factory gateway whose every EEPROM byte, copied or not, differs from its neighbours.
EepromImage PatternedEeprom(int seed) {
    EepromImage image = sim::FactoryImage();
    for (int block = 0; block < EepromBlockCount; ++block)
        for (int address = 0; address < EepromBlockSize; ++address)
            image.Blocks[block][address] = uint8_t(seed + block * 31 + address * 7 + 1);
    return image;
}

const QByteArray MinimalHeader = "[Config_EEPROM]\r\nFileType=KV-9052R_EEPROM\r\n";

// One connected virtual gateway with the utility's console link on it.
class EepromCopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Gateway.Port.Open().ok()); }
    CopyOutcome Import() {
        return ImportToIni(Link, File, [this](int value) { Progress.push_back(value); });
    }
    CopyOutcome Export(bool allowIncomplete = false) {
        const ProgressFn record = [this](int value) { Progress.push_back(value); };
        return RestoreBackup(Link, File, {allowIncomplete, {}, {}, record}).Copy;
    }
    QStringList FilesInFolder() { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
    QString File = folder.filePath("KV-9052R_EEP.ini");
    SimulatedGateway Gateway;
    ConsoleLink Link{Gateway.Port, Gateway.Clock};
    std::vector<int> Progress;
};

TEST_F(EepromCopyTest, ImportWritesTheBlocksAndLeavesTheEepromAsItWas) {
    const EepromImage before = PatternedEeprom(0);
    Gateway.Console.Eeprom = before;
    ASSERT_TRUE(WriteAll(File, "an older, longer backup that must go completely\r\n"));

    ASSERT_EQ(Import().Result, CopyResult::Ok);

    EXPECT_EQ(Gateway.Console.Eeprom, before) << "each byte read is written back as it was";
    // Seven sections; blocks 0 and 1 keep their first 32 bytes, the class blocks all 256.
    const QByteArray file = ReadAll(File);
    EXPECT_TRUE(file.startsWith(MinimalHeader +
                                "[BLOCK_0]\r\n"
                                "Address_0=01 08 0F 16 1D 24 2B 32 39 40 47 4E 55 5C 63 6A \r\n"
                                "Address_16=71 78 7F 86 8D 94 9B A2 A9 B0 B7 BE C5 CC D3 DA \r\n"
                                "[BLOCK_1]\r\nAddress_0=20 27 2E "));
    EXPECT_TRUE(
        file.contains("\r\nAddress_240=89 90 97 9E A5 AC B3 BA C1 C8 CF D6 DD E4 EB F2 "
                      "\r\n[BLOCK_9]\r\n"));
    EXPECT_TRUE(file.contains("\r\n[BLOCK_11]\r\nAddress_0=56 5D 64 "));
    EXPECT_TRUE(file.endsWith("Address_240=E6 ED F4 FB 02 09 10 17 1E 25 2C 33 3A 41 48 4F \r\n"));
    EXPECT_EQ(file.count("[BLOCK_"), 6);
    EXPECT_EQ(file.count("\r\nAddress_"), 2 + 2 + 4 * 16);
    EXPECT_EQ(file.count("\r\n"), file.count('\n')) << "every line ends in CR LF";
    EXPECT_EQ(file.count('\n'), 2 + 6 + 2 + 2 + 4 * 16);
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"}));
    EXPECT_EQ(Gateway.LinesReceived().last(), "quit");
    EXPECT_EQ(Progress.front(), 1);
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    EXPECT_TRUE(std::is_sorted(Progress.begin(), Progress.end()));
}

TEST_F(EepromCopyTest, ImportThatTimesOutInBlock9LeavesTheEarlierBackup) {
    Gateway.Console.Eeprom = PatternedEeprom(0);
    ASSERT_TRUE(WriteAll(File, "earlier backup\r\n"));
    Gateway.Console.Faults.StopAfterLines = 355;  // 20 lines into block 9

    EXPECT_EQ(Import().Result, CopyResult::Timeout);
    EXPECT_EQ(ReadAll(File), "earlier backup\r\n");
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"})) << "no partial file is left";
}

TEST_F(EepromCopyTest, ImportIntoAFolderThatCannotBeWrittenSendsNothing) {
    File = QStringLiteral("/nonexistent-folder/backup.ini");
    const CopyOutcome outcome = Import();
    EXPECT_EQ(outcome.Result, CopyResult::FileError);
    EXPECT_FALSE(outcome.Detail.isEmpty());
    EXPECT_TRUE(Gateway.LinesReceived().isEmpty());
}

TEST_F(EepromCopyTest, IncompleteFileIsRefusedBeforeAnythingIsSent) {
    const QByteArray whole = BackupFile::Encode(PatternedEeprom(50));
    std::vector<std::pair<QByteArray, QString>> rows = {
        {QByteArray(whole).remove(whole.indexOf("Address_16="), 50),
         "[BLOCK_0] Address_16 is missing"},
        {QByteArray(whole).replace(whole.indexOf("[BLOCK_8]\r\nAddress_0=") + 21, 3, "G1 "),
         "[BLOCK_8] Address_0 is not 16 hexadecimal pairs: \"G1 "}};
    for (const char* section :
         {"[BLOCK_0]", "[BLOCK_1]", "[BLOCK_8]", "[BLOCK_9]", "[BLOCK_10]", "[BLOCK_11]"})
        rows.push_back({whole.left(whole.indexOf(section)), section + QString(" is missing")});
    for (const auto& [file, firstLack] : rows) {
        ASSERT_TRUE(WriteAll(File, file));
        const CopyOutcome outcome = Export();
        EXPECT_EQ(outcome.Result, CopyResult::IncompleteFile);
        EXPECT_TRUE(outcome.Detail.startsWith(firstLack)) << outcome.Detail.toStdString();
        EXPECT_EQ(Gateway.LinesReceived(), QStringList());
    }
}

// Allowed to be incomplete, the file without block 11 writes zeros there. What a missing part
// reads as: BackupFile.ReadsWhatEarlierVersionsAndEditorsLeaveAndUtf16.
TEST_F(EepromCopyTest, ExportWritesEveryByteTheFileHoldsAndNothingElse) {
    Gateway.Console.Eeprom = PatternedEeprom(7);
    const EepromImage source = PatternedEeprom(50);
    const QByteArray whole = BackupFile::Encode(source);
    ASSERT_TRUE(WriteAll(File, whole.left(whole.indexOf("[BLOCK_11]"))));
    EepromImage expected = Gateway.Console.Eeprom;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            expected.Blocks[block][address] = source.Blocks[block][address];
    expected.Blocks[11] = EepromBlock{};

    ASSERT_EQ(Export(true).Result, CopyResult::Ok);

    EXPECT_EQ(Gateway.Console.Eeprom, expected);
    EXPECT_EQ(Gateway.LinesReceived().last(), "quit");
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    // A restore that stops while writing: WriteSafetyTest; the shorter time-out's scope:
    // ConsoleLinkTest.
}

// A file that is no backup, and another controller: CliBackupTest and ImpExpEepTest.
TEST(EepromCopy, TheQAndLanControllersAreCopied) {
    EXPECT_TRUE(IsCopyableController("\r\nq5308RT>"));
    EXPECT_TRUE(IsCopyableController("\r\nvMAR-5308RT_LAN>"));
    EXPECT_FALSE(IsCopyableController("\r\nKLT-400>"));
}

TEST(BackupFile, ReadsWhatEarlierVersionsAndEditorsLeaveAndUtf16) {
    QByteArray text =
        "\xEF\xBB\xBF"
        "; saved by hand\n"
        "  [ config_eeprom ]  \n"
        "\n"
        "  filetype =  KV-9052R_EEPROM  \n"
        "[block_0]\n"
        "ADDRESS_0 = ff 0a G1 1 \t\n"
        "Address_16=7f\n"
        "[BLOCK_8]\n"
        "Address_240=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10\n"
        "Address_240=FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF\n";
    const BackupReadResult result = BackupFile::Decode(text);
    ASSERT_EQ(result.Status, BackupReadStatus::Ok);
    // ff, 0a, a pair that is not hexadecimal, a single digit with its blank, nothing.
    const EepromBlock& block0 = result.Image.Blocks[0];
    EXPECT_EQ(std::vector<int>(block0.begin(), block0.begin() + 5),
              (std::vector<int>{255, 10, 0, 1, 0}));
    EXPECT_EQ(block0[16], 127);
    EXPECT_EQ(result.Image.Blocks[8][240], 1) << "the first of two equal keys counts";
    EXPECT_EQ(result.Image.Blocks[8][255], 16);
    EXPECT_EQ(result.Image.Blocks[1], EepromBlock{});

    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray wide =
        utf16.encode(QString::fromLatin1(MinimalHeader + "[BLOCK_1]\r\nAddress_16=00 AB\r\n"));
    EXPECT_EQ(BackupFile::Decode(wide).Image.Blocks[1][17], 0xAB);
}

TEST(BackupFile, TypeMarkMustMatchApartFromOuterBlanks) {
    for (const char* text :
         {"[Config_EEPROM]\nFileType=KV-9052R_EEPROM2\n",
          "[Config_EEPROM]\nFileType=kv-9052r_eeprom\n", "[Other]\nFileType=KV-9052R_EEPROM\n", ""})
        EXPECT_EQ(BackupFile::Decode(text).Status, BackupReadStatus::WrongFileType) << text;
}

TEST(BackupFile, RefusesFilesThatAreNoText) {
    QByteArray binary = MinimalHeader;
    binary += QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    EXPECT_EQ(BackupFile::Decode(binary).Status, BackupReadStatus::NotText);

    QTemporaryDir folder;
    const QString huge = folder.filePath("huge.ini");
    ASSERT_TRUE(WriteAll(huge, MinimalHeader + QByteArray(BackupFile::MaxFileBytes, ';')));
    const BackupReadResult result = BackupFile::Read(huge);
    EXPECT_EQ(result.Status, BackupReadStatus::NotText);
    EXPECT_FALSE(result.Detail.isEmpty());

    const BackupReadResult missing = BackupFile::Read(folder.filePath("none.ini"));
    EXPECT_EQ(missing.Status, BackupReadStatus::CannotRead);
    EXPECT_FALSE(missing.Detail.isEmpty());
}

}  // namespace
}  // namespace kv
