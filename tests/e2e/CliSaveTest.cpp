// kv9052r-cli apply, eds and factory-reset against the virtual gateway program over a real
// pseudo-terminal: exit status, messages, the EEPROM the gateway keeps and the EDS file.

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliProcess.h"
#include "SimulatorProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

QString WriteFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
    EXPECT_TRUE(WriteAll(folder.filePath(name), bytes));
    return folder.filePath(name);
}

// The EDS lines that do not depend on the moment or the user's two texts.
QStringList ConfigurationLines(const QString& path) {
    QStringList lines = QString::fromLatin1(ReadAll(path)).split(QStringLiteral("\r\n"));
    lines.removeIf([](const QString& line) {
        return line.startsWith("$ File Description") || line.startsWith("$ Created by") ||
               line.contains(QRegularExpression("(Create|Mod)(Date|Time)"));
    });
    return lines;
}

class CliSave : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    void StartDemo() {
        eeprom = folder.filePath("gateway.eep");
        simulator.Start({"--com", "9", "--demo", "--eeprom", eeprom});
    }
    QTemporaryDir folder;
    QString eeprom;
    SimulatorProcess simulator;
};

TEST_F(CliSave, ApplyRefusesABadFileWithoutWriting) {
    StartDemo();
    const QByteArray before = ReadAll(eeprom);
    const QString file = WriteFile(folder, "bad.json", R"({
        "DeviceNetParams": {"NodeId": 64},
        "SerialClasses": [{"Commands": [{"NetId": 1, "FunctionCode": 3, "MemAddress": 2040,
                                         "StartAddress": 0, "Length": 10}]}]})");
    const CliRun run = RunCli({"apply", "--port", "COM9", file, "--eds-dir", folder.path()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err,
              "DeviceNetParams.NodeId: Node ID is not supported!(0~63)\n"
              "SerialClasses[0].Commands[0].MemAddress/Length: Communication Length Greater "
              "Than Internal Memory\nNothing was written to the gateway.");
    EXPECT_EQ(ReadAll(eeprom), before);
    EXPECT_FALSE(QFile::exists(folder.filePath("KV-9052R_ 64.eds")));
}

TEST_F(CliSave, ApplyWritesWhatEdsDescribesAgain) {
    StartDemo();
    const QString file = WriteFile(folder, "good.json", R"({
        "DeviceNetParams": {"NodeId": 12},
        "TcpClasses": [{}, {"ConnValid": 1, "Commands": [{"NetId": 1, "FunctionCode": 4,
                        "MemAddress": 1000, "StartAddress": 0, "Length": 8}]}]})");
    const CliRun applied = RunCli(
        {"apply", "--port", "9", file, "--eds-dir", folder.path(), "--description", "Hall 2"});
    ASSERT_EQ(applied.ExitCode, 0) << applied.Err.toStdString();
    const QString written = folder.filePath("KV-9052R_ 12.eds");
    const QStringList out = applied.Out.split('\n');
    ASSERT_EQ(out.size(), 3) << applied.Out.toStdString();
    EXPECT_TRUE(out[0].startsWith("The gateway's configuration was kept in " +
                                  simulator.Folder.path() + "/kv9052r/backups/"));
    EXPECT_TRUE(out[0].endsWith("_node5_COM9.json")) << out[0].toStdString();
    EXPECT_EQ(out[1], "Produce EDS File OK: " + QDir::toNativeSeparators(written));
    EXPECT_EQ(out[2], "Written and verified.");

    const QString again = folder.filePath("again");
    const CliRun eds = RunCli({"eds", "--port", "COM9", "--out-dir", again});
    ASSERT_EQ(eds.ExitCode, 0) << eds.Err.toStdString();
    EXPECT_EQ(ConfigurationLines(QDir(again).filePath("KV-9052R_ 12.eds")),
              ConfigurationLines(written));
    EXPECT_TRUE(ReadAll(written).contains("\"20 68 24 01 30 0C\""));
    // What apply stored, diff of the same file against the gateway finds there.
    const CliRun diff = RunCli({"diff", file, "COM9"});
    EXPECT_EQ(diff.ExitCode, 0) << diff.Out.toStdString() << diff.Err.toStdString();
    EXPECT_TRUE(diff.Out.endsWith("No differences.")) << diff.Out.toStdString();
}

TEST_F(CliSave, FactoryResetNeedsItsConfirmation) {
    StartDemo();
    const QByteArray before = ReadAll(eeprom);
    CliRun run = RunCli({"factory-reset", "--port", "COM9"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(ReadAll(eeprom), before);

    run = RunCli({"factory-reset", "--port", "COM9", "--yes"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const CliRun read = RunCli({"read", "--port", "COM9", "--json"});
    const QJsonObject config = QJsonDocument::fromJson(read.Out.toUtf8()).object();
    EXPECT_EQ(config["ConfigMarker"].toInt(), 0);
    EXPECT_EQ(config["DeviceNetParams"].toObject()["NodeId"].toInt(), 1);
    EXPECT_EQ(config["EthernetParams"].toObject()["Ip"].toString(), "192.168.255.1");
}

}  // namespace
}  // namespace kv::test
