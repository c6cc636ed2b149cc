// `apply` against the virtual gateway: a file merged into what the gateway holds, checked
// as the windows check, written as the save writes, and refused before anything is sent.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "save/ApplyConfiguration.h"
#include "save/ApplyPlan.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using test::SimulatedGateway;

QJsonObject Json(const QByteArray& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

class ApplyConfigurationTest : public ::testing::Test {
protected:
    ApplyConfigurationTest() {
        gateway.Console.Eeprom = sim::DemoImage();
        EXPECT_TRUE(gateway.Port.Open().ok());
    }

    ApplyOutcome Apply(const QByteArray& file, bool dryRun = false) {
        ApplyOptions options;
        options.EdsFolders = {edsFolder.path()};
        options.EdsInfo = {"line 2", "cli"};
        options.BackupFolder = edsFolder.filePath("backups");
        options.PortName = "/dev/pts/7";
        options.DryRun = dryRun;
        return ApplyConfiguration(link, Json(file), options);
    }

    // Lines that store a byte or change a network setting.
    QStringList WritingLines() const {
        static const QRegularExpression writing(
            QStringLiteral("^(\\d+|ip .*|mask .*|gateway .*)$"));
        return gateway.LinesReceived().filter(writing);
    }

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    QTemporaryDir edsFolder;
};

TEST_F(ApplyConfigurationTest, RefusesBadFilesNamingEveryProblemBeforeWritingAnything) {
    const EepromImage before = gateway.Console.Eeprom;
    const struct {
        const char* File;
        QStringList Errors;
    } rows[] = {
        {R"({"DeviceNetParams": {"NodeId": 64, "BaudIndex": 3},
            "SerialClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2040, "StartAddress": 0, "Length": 4},
            {"NetId": 1, "FunctionCode": 3, "MemAddress": 2000, "StartAddress": 0, "Length": 48}
            ]}]})",
         {"DeviceNetParams.NodeId: Node ID is not supported!(0~63)",
          "DeviceNetParams.BaudIndex: Baud rate is not supported!",
          "SerialClasses[0].Commands[1].MemAddress/Length: Communication Length Greater Than "
          "Internal Memory"}},
        {R"({"EthernetParams": {"Ip": "10.0.0.255", "Mask": "255.255.256.0"},
            "ConnectionPaths": {"PollConsume": [101, 1, 13]}})",
         {"EthernetParams.Ip: Invalid IP address!", "EthernetParams.Mask: Invalid Mask address!",
          "ConnectionPaths.PollConsume: is not among the paths the save window offers for these "
          "classes"}},
        {R"({"DeviceNetParams": {"NodeId": "five"}, "SerialClasses": [{}, {"Parity": "MARK"}],
            "TcpClasses": [{"Commands": [
            {"NetId": 1, "FunctionCode": 7, "MemAddress": 0, "StartAddress": 0, "Length": 1}
            ]}]})",
         {"DeviceNetParams.NodeId: must be a number",
          R"(SerialClasses[1].Parity: unknown name "MARK"; the names are "NONE", "EVEN", "ODD")",
          "TcpClasses[0].Commands[0].FunctionCode: Modbus Function Code Error. (1-6, 15, 16)"}},
    };
    for (const auto& row : rows) {
        const ApplyOutcome outcome = Apply(row.File);
        EXPECT_FALSE(outcome.Ok);
        EXPECT_FALSE(outcome.Written);
        EXPECT_EQ(outcome.Errors, row.Errors);
    }
    EXPECT_EQ(WritingLines(), QStringList());
    EXPECT_TRUE(gateway.Console.Eeprom == before);
    EXPECT_TRUE(QDir(edsFolder.path()).isEmpty());
}

TEST_F(ApplyConfigurationTest, DryRunListsTheChangesAndWritesNothing) {
    const ApplyOutcome outcome = Apply(R"({
        "DeviceNetParams": {"NodeId": 9},
        "EthernetParams": {"Ip": "10.0.0.7"},
        "TcpClasses": [{}, {"ConnValid": "YES"}]})",
                                       true);
    EXPECT_TRUE(outcome.Ok);
    EXPECT_FALSE(outcome.Written);
    EXPECT_EQ(outcome.Changes, (QStringList{"DeviceNetParams.NodeId: 5 -> 9",
                                            R"(EthernetParams.Ip: "192.168.255.1" -> "10.0.0.7")",
                                            "TcpClasses[1].ConnValid: 0 -> 1"}));
    EXPECT_EQ(WritingLines(), QStringList());
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
    EXPECT_EQ(std::vector<uint8_t>(com1.begin() + 1, com1.begin() + 6),
              (std::vector<uint8_t>{0, 0, 1, 244, 1}));
    EXPECT_EQ(std::vector<uint8_t>(com1.begin() + 16, com1.begin() + 25),
              (std::vector<uint8_t>{1, 9, 16, 1, 44, 2, 1, 0, 10}));
    const auto& ports = gateway.Console.Eeprom.Blocks[0];
    const int sum = ports[0] + ports[1] + ports[2] + ports[4] + ports[5] + ports[6];
    EXPECT_EQ(ports[7], sum & 0xFF) << "check byte computed, not taken from the file";
    // The produced path read from the gateway named COM1's first command, which no longer
    // reads: the save window's fallback is written.
    const auto& settings = gateway.Console.Eeprom.Blocks[1];
    EXPECT_EQ(std::vector<uint8_t>(settings.begin() + 16, settings.begin() + 19),
              (std::vector<uint8_t>{0x64, 1, 1}));
    EXPECT_TRUE(QFile::exists(outcome.EdsPath));
    EXPECT_EQ(outcome.State, ApplyState::WrittenVerified);

    // The gateway as it was is kept first, and applying that backup brings it back.
    ASSERT_TRUE(QFileInfo(outcome.BackupPath).fileName().endsWith("_node5_7.json"))
        << outcome.BackupPath.toStdString();
    const EepromImage written = gateway.Console.Eeprom;
    const ApplyOutcome back = Apply(test::ReadAll(outcome.BackupPath));
    EXPECT_EQ(back.State, ApplyState::WrittenVerified) << back.Errors.join('\n').toStdString();
    EXPECT_EQ(gateway.Console.Network.Ip, "192.168.255.1");
    EXPECT_EQ(gateway.Console.Eeprom.Blocks[8], sim::DemoImage().Blocks[8]);
    EXPECT_NE(gateway.Console.Eeprom.Blocks[8], written.Blocks[8]);
}

TEST(ApplyPlanTest, JsonDifferencesNameTheirKeyPaths) {
    const QJsonObject expected = Json(R"({"a": {"b": [1, 2], "c": "x"}, "d": 4})");
    const QJsonObject actual = Json(R"({"a": {"b": [1, 3], "c": "x"}, "e": true})");
    EXPECT_EQ(JsonDifferences(expected, actual),
              (QStringList{"a.b[1]: 2, read 3", "d: 4, read nothing", "e: nothing, read true"}));
}

}  // namespace
}  // namespace kv
