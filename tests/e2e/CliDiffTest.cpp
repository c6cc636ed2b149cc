// kv9052r-cli diff: files, backups and a live virtual gateway compared.

#include <gtest/gtest.h>

#include <QFile>

#include "CliProcess.h"
#include "SimulatorProcess.h"

namespace kv::test {
namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class CliDiff : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    QString InFolder(const QString& name) const { return simulator.Folder.filePath(name); }
    SimulatorProcess simulator;
};

TEST_F(CliDiff, AMissingFileOrAWrongFileIsAnErrorWithItsReason) {
    const QString missing = InFolder("missing.json");
    CliRun run = RunCli({"diff", missing, missing});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "Cannot read " + missing + ": there is no such file");
    EXPECT_TRUE(run.Out.isEmpty());

    const QString notes = InFolder("notes.txt");
    WriteFile(notes, "shopping list\n");
    run = RunCli({"diff", notes, notes});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(notes + " is neither a configuration file (JSON) nor an EEPROM "
                                           "backup (INI)"))
        << run.Err.toStdString();

    const QString broken = InFolder("broken.json");
    WriteFile(broken, R"({"DeviceNetParams": {"NodeId": 3,}})");
    run = RunCli({"diff", broken, broken});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(broken + " is not a valid JSON file: "))
        << run.Err.toStdString();

    const QString wrongField = InFolder("wrong.json");
    WriteFile(wrongField, R"({"SerialClasses": [{"Commands": [{"NetId": 1}]}]})");
    run = RunCli({"diff", wrongField, wrongField});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(wrongField + ": SerialClasses[0].Commands[0]."))
        << run.Err.toStdString();

    EXPECT_EQ(RunCli({"diff", missing}).ExitCode, 2);
}

TEST_F(CliDiff, AReadOutAgainstTheSameGatewayAndItsBackup) {
    simulator.Start({"--com", "8", "--demo"});
    const CliRun read = RunCli({"read", "--port", "COM8", "--json"});
    ASSERT_EQ(read.ExitCode, 0) << read.Err.toStdString();
    const QString readOut = InFolder("read.json");
    WriteFile(readOut, read.Out.toUtf8());

    CliRun run = RunCli({"diff", readOut, "COM8"});
    EXPECT_EQ(run.ExitCode, 0) << run.Out.toStdString() << run.Err.toStdString();
    EXPECT_EQ(run.Out, "No differences.");

    const QString backup = InFolder("gateway.ini");
    ASSERT_EQ(RunCli({"backup", "--port", "COM8", backup}).ExitCode, 0);
    QString edited = read.Out;
    edited.replace(QStringLiteral("\"Length\": 10,"), QStringLiteral("\"Length\": 12,"));
    ASSERT_NE(edited, read.Out) << "the demo gateway holds a command of length 10";
    const QString editedFile = InFolder("edited.json");
    WriteFile(editedFile, edited.toUtf8());

    run = RunCli({"diff", backup, editedFile});
    EXPECT_EQ(run.ExitCode, 1) << run.Err.toStdString();
    const QStringList lines = run.Out.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << run.Out.toStdString();
    EXPECT_EQ(lines[0], "Left out, " + backup +
                            " does not hold them: EthernetParams (an EEPROM backup holds no "
                            "Ethernet settings)");
    EXPECT_TRUE(lines[1].endsWith(".Length: 10 -> 12")) << lines[1].toStdString();

    EXPECT_EQ(RunCli({"diff", "--raw", backup, backup}).Out, "No differences.");
    run = RunCli({"diff", "--raw", backup, readOut});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "--raw compares two EEPROM backup files byte by byte");
}

}  // namespace
}  // namespace kv::test
