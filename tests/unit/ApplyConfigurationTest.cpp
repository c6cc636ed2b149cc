// `apply` against the virtual gateway: a file merged into what the gateway holds, checked as
// the windows check, written as the save writes, and refused before anything is sent. Writes
// (apply and restore) that stop half-way: the gateway's configuration is kept before the first
// byte, and the outcome says what became of the gateway and which backup brings it back.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "backup/RestoreBackup.h"
#include "console/Messages.h"
#include "save/ApplyConfiguration.h"
#include "save/ApplyPlan.h"
#include "save/BackupBeforeWrite.h"
#include "save/FactoryReset.h"
#include "save/OutcomeOf.h"
#include "save/ResultEntry.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using Bytes = std::vector<uint8_t>;
using test::ReadAll;
using test::SimulatedGateway;
using test::WriteAll;

QJsonObject Json(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

// Command lines the demo gateway takes for one read-out, and for a whole apply (read,
// write, read back) of ChangedTimeout: its header alone, or with --full-write every run.
constexpr int ReadLines = 231;
constexpr int ApplyLines = 480;
constexpr int FullApplyLines = 700;
const QByteArray ChangedTimeout = R"({"SerialClasses": [{"CmdTimeout": 500}]})";

// A demo gateway on an open port; restores write the backup file of a factory gateway.
class ApplyConfigurationTest : public ::testing::Test {
protected:
    ApplyConfigurationTest() {
        gateway.Console.Eeprom = sim::DemoImage();
        EXPECT_TRUE(gateway.Port.Open().ok());
    }

    ApplyOutcome Apply(const QByteArray& file, bool dryRun = false, bool fullWrite = false) {
        const ApplyOptions options{{edsFolder.path()},
                                   {"line 2", "cli"},
                                   true,
                                   {},
                                   dryRun,
                                   backups,
                                   "/dev/pts/7",
                                   {},
                                   false,
                                   fullWrite};
        return ApplyConfiguration(link, Json(file), options);
    }
    RestoreOutcome Restore() {
        EXPECT_TRUE(WriteAll(factoryBackup, BackupFile::Encode(sim::FactoryImage())));
        return RestoreBackup(link, factoryBackup, {false, backups, "COM3", {}, {}});
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
        // Problems in every group, each under its own key path, in one run.
        {R"({"DeviceNetParams": {"NodeId": 64, "BaudIndex": 3},
            "EthernetParams": {"Ip": "10.0.0.255", "Mask": "255.255.256.0"},
            "ConnectionPaths": {"PollConsume": [101, 1, 13]},
            "SerialClasses": [{"Baud": 1234, "DataBits": 9, "Parity": 5, "StopBits": 3,
            "Commands": [
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2040, "StartAddress": 0, "Length": 4},
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2000, "StartAddress": 0, "Length": 48}
            ]}]})",
         false,
         {"SerialClasses[0].Baud: must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
          "115200",
          "DeviceNetParams.NodeId: Node ID is not supported!(0~63)",
          "DeviceNetParams.BaudIndex: Baud rate is not supported!",
          "EthernetParams.Ip: Invalid IP address!", "EthernetParams.Mask: Invalid Mask address!",
          "SerialClasses[0].DataBits: Data Bit is not supported!",
          "SerialClasses[0].Parity: Parity is not supported!",
          "SerialClasses[0].StopBits: Stop Bit is not supported!",
          "SerialClasses[0].Commands[1].MemAddress/Length: Communication Length Greater Than "
          "Internal Memory",
          "ConnectionPaths.PollConsume: 0x65/1/13 is not among the paths these classes offer: "
          "0x64/1/1, 0x64/1/2, 0x64/1/3, 0x66/2/13, 0x67/2/13"},
         {}},
        // COM1's first command no longer reads, and with it the gateway's produced path goes.
        {R"({"SerialClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 5, "MemAddress": 0, "StartAddress": 0, "Length": 1}]}]})",
         false,
         {"ConnectionPaths.PollProduce: the gateway's path 0x65/1/13 is no longer offered by "
          "these commands; give the path in the file, one of 0x64/1/1, 0x64/1/2, 0x64/1/3, "
          "0x66/1/12, 0x67/1/13, 0x69/1/10"},
         {}},
        {R"({"DeviceNetParams": {"NodeId": "five"}, "SerialClasses": [{}, {"Parity": "MARK"}],
            "TcpClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 7, "MemAddress": 0, "StartAddress": 0, "Length": 1}
            ]}]})",
         false,
         {"DeviceNetParams.NodeId: must be a number",
          R"(SerialClasses[1].Parity: unknown name "MARK"; the names are "NONE", "EVEN", "ODD")",
          "TcpClasses[0].Commands[0].FunctionCode: Modbus Function Code Error. (1-6, 15, 16)",
          "ConnectionPaths.PollConsume: the gateway's path 0x67/2/13 is no longer offered by "
          "these commands; give the path in the file, one of 0x64/1/1, 0x64/1/2, 0x64/1/3, "
          "0x65/2/13, 0x66/2/13"},
         {}},
        {R"({"DeviceNetParams": {"NodeId": 9}, "EthernetParams": {"Ip": "10.0.0.7"},
            "TcpClasses": [{}, {"ConnValid": "YES"}]})",
         true,
         {},
         {"DeviceNetParams.NodeId: 5 -> 9", R"(EthernetParams.Ip: "192.168.255.1" -> "10.0.0.7")",
          "TcpClasses[1].ConnValid: NO -> YES"}},
    };
    for (const auto& row : rows) {
        const ApplyOutcome outcome = Apply(row.File, row.DryRun);
        EXPECT_EQ(outcome.Ok, row.Errors.isEmpty());
        EXPECT_FALSE(outcome.Written);
        EXPECT_EQ(outcome.Errors, row.Errors);
        EXPECT_EQ(FieldChangeTexts(outcome.Changes), row.Changes);
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
                                         "StartAddress": 513, "Length": 10}]}],
        "ConnectionPaths": {"PollProduce": [100, 1, 1]}})");

    EXPECT_TRUE(outcome.Ok) << outcome.Errors.join('\n').toStdString();
    EXPECT_EQ(outcome.Warnings,
              (QStringList{"FirmwareInfo: the gateway's own value is kept",
                           "SerialClasses[1].Commands[0].MemAddress: COM1 instance 1 and COM2 "
                           "instance 1 share 300..301"}));
    EXPECT_EQ(gateway.Console.Network.Ip, "10.0.0.7");
    const auto& com1 = gateway.Console.Eeprom.Blocks[8];
    EXPECT_EQ(Bytes(com1.begin() + 1, com1.begin() + 6), (Bytes{0, 0, 1, 244, 1}));
    EXPECT_EQ(Bytes(com1.begin() + 16, com1.begin() + 25), (Bytes{1, 9, 16, 1, 44, 2, 1, 0, 10}));
    EXPECT_EQ(gateway.Console.Eeprom.Blocks[0][7], 85) << "check byte computed, not the file's";
    // The produced path read from the gateway named COM1's first command, which no longer
    // reads: the file names the path to take instead.
    const auto& settings = gateway.Console.Eeprom.Blocks[1];
    EXPECT_EQ(Bytes(settings.begin() + 16, settings.begin() + 19), (Bytes{0x64, 1, 1}));
    EXPECT_TRUE(QFile::exists(outcome.EdsPath));

    // The gateway as it was is kept first (AKeptBackupGivesTheGatewayBack).
    EXPECT_TRUE(QFileInfo(outcome.BackupPath).fileName().endsWith("_node5_7.json"))
        << outcome.BackupPath.toStdString();
}

// Only the lines and runs that differ are written: here COM1's header, which holds the
// timeout. The gateway ends as a full write leaves it; applied again, the file changes nothing:
// no line is written and no backup kept.
TEST_F(ApplyConfigurationTest, WritesOnlyWhatDiffers) {
    const char* const written = "Written and verified.";
    const struct {
        bool Factory;  // the row starts from a new gateway
        bool FullWrite;
        const char* Text;
        int Lines;
        QStringList Written;  // between the read and the read-back
    } rows[] = {
        {false,
         false,
         written,
         ApplyLines,
         {"", "", "", ".", "quit", "", "", "use eeprom", "block 8", "e 0", "1", "0", "0", "1",
          "244", "3", ".", "quit"}},
        {false, false, "Nothing to change; nothing was written to the gateway.", ReadLines, {}},
        {false, true, written, FullApplyLines, {}},
        {true, false, written, 358, {}},  // every run (a new gateway reads no classes)
        {true, true, written, 358, {}},
    };
    EepromImage delta;
    for (const auto& row : rows) {
        if (row.Factory) gateway.Console.Eeprom = sim::FactoryImage();
        const qsizetype before = gateway.LinesReceived().size();
        const ApplyOutcome outcome = Apply(ChangedTimeout, false, row.FullWrite);
        EXPECT_EQ(ApplyStateText(outcome), row.Text) << outcome.Errors.join('\n').toStdString();
        EXPECT_TRUE(QFile::exists(outcome.EdsPath));
        EXPECT_EQ(outcome.BackupPath.isEmpty(), outcome.NothingToChange);
        const QStringList lines = gateway.LinesReceived().mid(before);
        EXPECT_EQ(lines.size(), row.Lines);
        if (!row.Written.isEmpty()) {
            EXPECT_EQ(lines.mid(ReadLines, row.Written.size()), row.Written);
        }
        if (!row.FullWrite) {
            delta = gateway.Console.Eeprom;
        } else {
            EXPECT_EQ(gateway.Console.Eeprom.Blocks, delta.Blocks) << "a full write ends the same";
        }
    }
}

// After a factory reset, the backup kept before it gives the gateway back byte for byte,
// also the commands the editor refuses (FC05 and FC06 with a length above 1). The backup
// folder also holds the user's files, an older one of COM1 and 51 of COM3, all newer by name:
// only COM3's oldest two go. A second backup in the same second keeps the first.
TEST_F(ApplyConfigurationTest, AKeptBackupGivesTheGatewayBack) {
    ASSERT_TRUE(QDir().mkpath(backups));
    QStringList names = {"0-base", "site01", "2099-01-01_00-00-00_node1",
                         "2099-01-01_00-00-01_node1_COM1"};
    for (int s = 10; s <= 60; ++s) names << QString("2099-01-01_00-00-%1_node1_COM3").arg(s);
    for (const QString& name : names) WriteAll(backups + '/' + name + ".json", "{}");
    gateway.Console.Eeprom = sim::MaximalImage(sim::SingleItemLength::AboveOne);
    GatewayConfig read;
    ASSERT_EQ(ReadGateway(link, read, {}), ReadOutResult::Ok);
    ASSERT_TRUE(KeepBackup(backups, read, "COM3", QDateTime({2000, 1, 1}, {})).ok());
    const QStringList left = QDir(backups).entryList(QDir::Files);
    EXPECT_EQ((left.mid(0, 5) + left.mid(53)).join(' '),
              "0-base.json 2000-01-01_00-00-00_node63_COM3.json 2099-01-01_00-00-00_node1.json "
              "2099-01-01_00-00-01_node1_COM1.json 2099-01-01_00-00-12_node1_COM3.json "
              "site01.json");
    EXPECT_TRUE(
        KeepBackup(backups, read, "rfc2217://192.168.1.11:4001", QDateTime({2000, 1, 1}, {}))
            .Path.endsWith("_node63_192_168_1_11_4001.json"));

    const KeptBackup again = KeepBackup(backups, read, "COM3", QDateTime({2000, 1, 1}, {}));
    EXPECT_TRUE(again.Path.endsWith("/2000-01-01_00-00-00_node63_COM3_2.json"))
        << again.Path.toStdString();

    ASSERT_EQ(FactoryReset(link, read, {}), WriteResult::Ok);
    const ApplyOutcome back = Apply(ReadAll(again.Path));
    EXPECT_EQ(back.State, ApplyState::WrittenVerified) << back.Errors.join('\n').toStdString();
    EXPECT_EQ(back.Warnings.filter("Length: Communication Length Error. (1)").size(), 10);
    EXPECT_EQ(gateway.Console.Eeprom.Blocks,
              sim::MaximalImage(sim::SingleItemLength::AboveOne).Blocks);
}

// The gateway holds the configuration even when its EDS file cannot be written: it is read
// back all the same, and both are told.
TEST_F(ApplyConfigurationTest, AnEdsFileThatCannotBeWrittenLeavesTheWriteVerified) {
    const QString taken = edsFolder.filePath("taken");
    ASSERT_TRUE(WriteAll(taken, "a file where the folder should be"));
    const ApplyOptions options{{taken}, {}, true, {}, false, {}, "COM3", {}};
    const ApplyOutcome outcome = ApplyConfiguration(link, Json(ChangedTimeout), options);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Errors, QStringList{"No folder to write KV-9052R_ 5.eds to"});
    EXPECT_EQ(ApplyStateText(outcome), "Written and verified.");
}

// A controller that is read but whose blocks are not copied: its backup is kept, and the
// restore says that nothing was written rather than how to undo the write.
TEST(RestoreBackupTest, AControllerWhoseBlocksAreNotCopiedIsLeftAsItWas) {
    SimulatedGateway gateway(sim::ControllerModel::Klt400);
    ASSERT_TRUE(gateway.Port.Open().ok());
    ConsoleLink link{gateway.Port, gateway.Clock};
    QTemporaryDir folder;
    const RestoreOutcome outcome =
        RestoreBackup(link, sim::FactoryImage(), {false, folder.path(), "COM3", {}, {}});
    EXPECT_TRUE(QFileInfo(outcome.BackupPath).isFile());
    EXPECT_EQ(RestoreOutcomeText(outcome, "f.ini", "COM3"),
              "This modules is not 5308RTD!\nNothing was written to the gateway.");
}

TEST_F(ApplyConfigurationTest, NoBackupNoWrite) {
    ASSERT_TRUE(WriteAll(backups, "a file where the folder should be"));
    const RestoreOutcome restored = Restore();
    EXPECT_EQ(restored.Copy.Result, CopyResult::NoBackupKept);
    EXPECT_TRUE(
        RestoreOutcomeText(restored, factoryBackup, "COM3").endsWith("\nNothing was written."));
    EXPECT_TRUE(GatewayUnchanged());
}

// The console goes silent after a number of lines: during the read that the backup is
// made of, during the write, during the read-back; or never. Or line noise garbles one byte
// of the first read-out (the node ID 5 read as "5\xFF"). What a restore wrote: EepromCopyTest.
struct Interruption {
    const char* What;
    int SilentAfterLines;
    bool Restore;  // else apply
    bool GatewayUnchanged;
    bool BackupKept;
    const char* Text;  // %1: the backup's path
    bool GarbledNodeId = false;
};

// Names the row in the test's name.
void PrintTo(const Interruption& row, std::ostream* out) { *out << row.What; }

class InterruptedWriteTest : public ApplyConfigurationTest,
                             public ::testing::WithParamInterface<Interruption> {};

TEST_P(InterruptedWriteTest, SaysWhatBecameOfTheGateway) {
    const Interruption& c = GetParam();
    if (c.GarbledNodeId)
        gateway.Console.Faults = {.NoiseFrom = "B(8)=5 ", .NoiseTo = "B(8)=5\xFF "};
    gateway.Console.Faults.StopAfterLines = c.SilentAfterLines;
    QString text;
    QString backup;
    if (c.Restore) {
        const RestoreOutcome outcome = Restore();
        backup = outcome.BackupPath;
        text = RestoreOutcomeText(outcome, factoryBackup, "COM3");
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
        Interruption{"restore", -1, true, false, true,
                     "Export to KV-9052R's EEPROM finished.\nThe Ethernet settings are not part "
                     "of an EEPROM backup; the gateway holds IP address 192.168.255.1, mask "
                     "255.255.255.0, gateway 192.168.0.1."},
        Interruption{"restore, reading", 40, true, true, false,
                     "The gateway could not be read for a backup: Timeout\nNothing was written."},
        Interruption{"restore, before the first byte", ReadLines + 3, true, true, true,
                     "Timeout\nNothing was written to the gateway."},
        Interruption{
            "restore, writing", ReadLines + 40, true, false, true,
            "Timeout\nThe gateway is partly written.\nTo get the earlier configuration back: "
            "kv9052r-cli apply --port COM3 %1"},
        Interruption{"apply, a garbled byte in the read", -1, false, true, false,
                     "Nothing was written to the gateway.", true},
        Interruption{"apply, before the first change", ReadLines + 3, false, true, true,
                     "Nothing was written to the gateway."},
        Interruption{"apply, writing", ReadLines + 15, false, false, true,
                     "The gateway is partly written."},
        Interruption{"apply, reading back", ApplyLines - 40, false, false, true,
                     "Written, but not verified: the read-back failed."}));

// A file alone warns only of what it gives: COM1's mode is the gateway's in the last row. A
// kept backup passes values outside the checks only with the fingerprint of its content
// (over {"Backup":true,"DeviceNetParams":{"NodeId":99}}); --strict refuses them.
TEST(ApplyPlanTest, FileWarningsNameWhatCannotWork) {
    const char* command = R"({"NetId": 1, "FunctionCode": 3, "StartAddress": 0, "Length": 4,)";
    const QByteArray fingerprint =
        R"("Fingerprint": "sha256:246b7435d15e0873c23bab42b4e909183a17cfcbfc5b4baa39ac4aa1adb7fb8d")";
    const QString nodeId = "DeviceNetParams.NodeId: Node ID is not supported!(0~63)";
    const struct {
        QByteArray File;
        QString Warning;
        QString Problem = "";
        bool Strict = false;
    } rows[] = {
        {R"({"SerialClasses": [{"ConnMode": "Modbus RTU", "DataBits": 7}]})",
         "SerialClasses[0].DataBits: Modbus RTU needs 8 data bits; with 7 the port cannot talk to "
         "its devices"},
        {R"({"SerialClasses": [{"ConnMode": 2, "DataBits": 7}]})", ""},
        {R"({"EthernetParams": {"Mask": "255.0.255.0"}})",
         "EthernetParams.Mask: 255.0.255.0 is no network mask: its one-bits are not contiguous"},
        {R"({"EthernetParams": {"Mask": "0.0.0.0"}})",
         "EthernetParams.Mask: 0.0.0.0 is no network mask"},
        {R"({"SerialClasses": [{}, {"ConnMode": 0, "Commands": [)" + QByteArray(command) +
             R"("MemAddress": 0}]}]})",
         "SerialClasses[1].ConnMode: NONE, so the gateway ignores the class's 1 command"},
        {R"({"SerialClasses": [{"ConnMode": 1, "Commands": [)" + QByteArray(command) +
             R"("MemAddress": 0}, )" + command + R"("MemAddress": 2}]}]})",
         "SerialClasses[0].Commands[1].MemAddress: COM1 instance 1 and COM1 instance 2 share "
         "2..3"},
        {R"({"SerialClasses": [{"Commands": [)" + QByteArray(command) + R"("MemAddress": 0}]}]})",
         ""},
        // A refused mode leaves the gateway's NONE, a refused address 0: no word of the
        // commands NONE would ignore, nor of the memory 0 would share.
        {R"({"SerialClasses": [{"ConnMode": "RTU", "Commands": [)" + QByteArray(command) +
             R"("MemAddress": "x"}, )" + command + R"("MemAddress": 0}]}]})",
         "",
         R"(SerialClasses[0].ConnMode: unknown name "RTU"; the names are "NONE", "Modbus RTU", )"
         "\"Modbus ASCII\"\nSerialClasses[0].Commands[0].MemAddress: must be a number"},
        {R"({"DeviceNetParams": {"NodeId": 99}, )" + fingerprint + R"(, "Backup": true})", nodeId},
        {R"({"Backup": true, "DeviceNetParams": {"NodeId": 99}, )" + fingerprint + "}", "", nodeId,
         true},
        {R"({"Backup": true, "DeviceNetParams": {"NodeId": 98}, )" + fingerprint + "}",
         "Backup: the fingerprint does not match the content, so the file was changed after it "
         "was kept; its values are checked as any configuration's",
         "DeviceNetParams.NodeId: Node ID is not supported!(0~63)"},
        {R"({"Backup": true, "DeviceNetParams": {"NodeId": 99}})",
         "Backup: the file holds no fingerprint, so it is no backup this program kept; its "
         "values are checked as any configuration's",
         nodeId},
    };
    for (const auto& row : rows) {
        const FileCheckOptions options{{}, row.Strict};
        EXPECT_EQ(FileWarnings(Json(row.File), options).join('\n'), row.Warning) << row.File.data();
        EXPECT_EQ(FileProblems(Json(row.File), options).join('\n'), row.Problem) << row.File.data();
    }
}

// The marker every save writes is the file's when it says 436, also on a factory gateway.
TEST(ApplyPlanTest, OnlyValuesTheWriteDoesNotTakeAreSaidToBeKept) {
    const std::pair<QByteArray, QStringList> rows[] = {
        {R"({"ConfigMarker": 436, "FirmwareInfo": {"Major": 0}})", {}},
        {R"({"ConfigMarker": 0, "FirmwareInfo": {"Major": 1}})",
         {"FirmwareInfo: the gateway's own value is kept",
          "ConfigMarker: the gateway's own value is kept"}},
    };
    for (const auto& [file, warnings] : rows)
        EXPECT_EQ(PlanApply(GatewayConfig{}, Json(file)).Warnings, warnings) << file.data();
}

TEST(ApplyPlanTest, JsonDifferencesNameTheirKeyPaths) {
    const QJsonObject expected = Json(R"({"a": {"b": [1, 2], "c": "x"}, "d": 4})");
    const QJsonObject actual = Json(R"({"a": {"b": [1, 3], "c": "x"}, "e": true})");
    EXPECT_EQ(JsonDifferences(expected, actual),
              (QStringList{"a.b[1]: 2, read 3", "d: 4, read (none)", "e: (none), read true"}));
}

}  // namespace
// What a person reads of an outcome: what happened (the port's words for a device that went
// away, "Timeout" for silence and for the bound), what became of the gateway, and the way
// back for a partly written one.
TEST(OperationOutcomeTest, EachKindIsToldInItsWordsWithTheGatewaysState) {
    const QString backup = "/b/COM3-1.json";
    const struct {
        OutcomeKind Kind;
        ApplyState State;
        QString Backup, Detail, Text;
    } rows[] = {
        {OutcomeKind::Succeeded, ApplyState::WrittenVerified, "", "", "Written and verified."},
        {OutcomeKind::Refused, ApplyState::NotWritten, "", "Invalid Mask address!",
         "Invalid Mask address!\nNothing was written to the gateway."},
        {OutcomeKind::PortNotOpened, ApplyState::NotWritten, "", "Can't open COM 3!",
         "Can't open COM 3!\nNothing was written to the gateway."},
        {OutcomeKind::NoAnswer, ApplyState::NotWritten, "", "",
         "Timeout\nNothing was written to the gateway."},
        {OutcomeKind::DeviceLost, ApplyState::PartlyWritten, backup, "Input/output error",
         "Input/output error\nThe gateway is partly written.\nTo get the earlier configuration "
         "back: kv9052r-cli apply --port COM3 /b/COM3-1.json"},
        {OutcomeKind::OutOfTime, ApplyState::WrittenNotVerified, backup, "",
         "Timeout\nWritten; not read back to verify."},
        {OutcomeKind::Stopped, ApplyState::PartlyWritten, "", "Stopped by SIGINT.",
         "Stopped by SIGINT.\nThe gateway is partly written."},
        {OutcomeKind::FileNotWritten, ApplyState::WrittenDifferent, "",
         "No folder to write x.eds to",
         "No folder to write x.eds to\nWritten, but the gateway does not hold what was written."}};
    for (const auto& row : rows)
        EXPECT_EQ(OutcomeText({row.Kind, row.State, row.Backup, row.Detail}, "COM3"), row.Text);
    EXPECT_EQ(KindOfFailedExchange(LinkEnd::None), OutcomeKind::NoAnswer);
    EXPECT_EQ(KindOfFailedExchange(LinkEnd::Stopped), OutcomeKind::Stopped);
    EXPECT_EQ(KindOfFailedExchange(LinkEnd::DeviceLost), OutcomeKind::DeviceLost);
    EXPECT_EQ(KindOfFailedExchange(LinkEnd::OutOfTime), OutcomeKind::OutOfTime);
    EXPECT_EQ(ExchangeFailureText({LinkEnd::DeviceLost, "Gone (EIO)."}), "Gone (EIO).");
    EXPECT_EQ(ExchangeFailureText({LinkEnd::OutOfTime, {}}), "Timeout");
}

// Each operation's own result read as one outcome: its kind, the gateway's state and the words,
// and the Outcome and State of its port's entry in the result document of --json.
TEST(OperationOutcomeTest, EachOperationsEndIsOneOutcome) {
    const LinkEndState lost{LinkEnd::DeviceLost, "Gone."};
    ApplyOutcome eds;
    eds.State = ApplyState::WrittenVerified;
    eds.Errors = {"No folder to write x.eds to"};
    ApplyOutcome differs = eds;
    differs.EdsPath = "x.eds";
    differs.Errors = {"a: 1, read 2"};
    ApplyOutcome dryRun, refused;
    dryRun.Ok = true;
    dryRun.Changes = {{"a", 1, 2}};
    refused.Errors = {"Invalid Mask address!"};
    const RestoreOutcome partly{
        {CopyResult::Timeout, {}, {}}, "/b/k.json", ApplyState::PartlyWritten};
    const struct {
        OperationOutcome Outcome;
        OutcomeKind Kind;
        ApplyState State;
        QString Detail;
        QString Entry;  // Outcome and State
    } rows[] = {{OutcomeOf(ReadOutResult::UnknownController, {}), OutcomeKind::Refused,
                 ApplyState::NotWritten, "This modules is not 5308!", "refused nothing-written"},
                {OutcomeOf(ReadOutResult::Timeout, lost), OutcomeKind::DeviceLost,
                 ApplyState::NotWritten, "Gone.", "failed nothing-written"},
                {OutcomeOf(dryRun, {}), OutcomeKind::Succeeded, ApplyState::NotWritten, "a: 1 -> 2",
                 "ok nothing-written"},
                {OutcomeOf(refused, {}), OutcomeKind::Refused, ApplyState::NotWritten,
                 "Invalid Mask address!", "refused nothing-written"},
                {OutcomeOf(eds, {}), OutcomeKind::FileNotWritten, ApplyState::WrittenVerified,
                 "No folder to write x.eds to", "failed written-and-verified"},
                {OutcomeOf(differs, {}), OutcomeKind::Succeeded, ApplyState::WrittenVerified,
                 "a: 1, read 2", "ok written-and-verified"},
                {{OutcomeKind::Succeeded, ApplyState::WrittenDifferent, {}, "a"},
                 OutcomeKind::Succeeded,
                 ApplyState::WrittenDifferent,
                 "a",
                 "failed written"},
                {{OutcomeKind::Stopped, ApplyState::PartlyWritten, {}, "b"},
                 OutcomeKind::Stopped,
                 ApplyState::PartlyWritten,
                 "b",
                 "stopped partly-written"},
                {OutcomeOf(CopyOutcome{CopyResult::FileError, "Disk full.", {}}, "b.ini", {}),
                 OutcomeKind::FileNotWritten, ApplyState::NotWritten,
                 "Can't write the backup file b.ini.\nDisk full.", "failed nothing-written"},
                {OutcomeOf(partly, "b.ini", {LinkEnd::OutOfTime, {}}), OutcomeKind::OutOfTime,
                 ApplyState::PartlyWritten, "Timeout", "failed partly-written"}};
    for (const auto& row : rows) {
        EXPECT_EQ(row.Outcome.Kind, row.Kind) << row.Detail.toStdString();
        EXPECT_EQ(row.Outcome.State, row.State) << row.Detail.toStdString();
        EXPECT_EQ(row.Outcome.Detail, row.Detail);
        EXPECT_EQ(OutcomeWord(row.Outcome) + u' ' + StateWord(row.Outcome.State), row.Entry);
    }
    EXPECT_EQ(OutcomeOf(partly, "b.ini", {}).BackupPath, "/b/k.json");
}

}  // namespace kv
