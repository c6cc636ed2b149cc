// kv9052r-cli backup and restore between two virtual gateway programs over real
// pseudo-terminals.

#include <gtest/gtest.h>

#include <QDir>

#include "CliProcess.h"
#include "SimulatorProcess.h"
#include "backup/BackupFile.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"

namespace kv::test {
namespace {

EepromImage LoadImage(const QString& path) {
    QString error;
    const auto image = sim::LoadEepromFile(path, error);
    EXPECT_TRUE(image.has_value()) << error.toStdString();
    return image.value_or(EepromImage{});
}

class CliBackup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    QTemporaryDir folder;
};

TEST_F(CliBackup, ABackupRestoresToAnIdenticalEepromOnAnotherGateway) {
    // The first gateway: new, with the demo configuration in the copied blocks.
    EepromImage original = sim::FactoryImage();
    const EepromImage demo = sim::DemoImage();
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            original.Blocks[block][address] = demo.Blocks[block][address];
    const QString firstEeprom = folder.filePath("first.eeprom");
    QString error;
    ASSERT_TRUE(sim::SaveEepromFile(firstEeprom, original, error)) << error.toStdString();
    const QString secondEeprom = folder.filePath("second.eeprom");

    SimulatorProcess first;
    first.Start({"--com", "7", "--eeprom", firstEeprom});
    SimulatorProcess second;
    second.Start({"--com", "8", "--factory", "--eeprom", secondEeprom});
    const QString backup = folder.filePath("KV-9052R_EEP.ini");

    const CliRun saved = RunCli({"backup", "--port", first.Device, backup});
    ASSERT_EQ(saved.ExitCode, 0) << saved.Err.toStdString();
    EXPECT_EQ(saved.Out, "Import to ini file finished.");
    const CliRun restored = RunCli({"restore", "--port", second.Device, backup});
    ASSERT_EQ(restored.ExitCode, 0) << restored.Err.toStdString();
    EXPECT_TRUE(restored.Out.endsWith("\nExport to KV-9052R's EEPROM finished."));

    first.Stop();
    second.Stop();
    EXPECT_EQ(LoadImage(firstEeprom), original) << "the backup left the first gateway as it was";
    EXPECT_EQ(LoadImage(secondEeprom), original);
}

TEST_F(CliBackup, RefusesWhatIsNoBackupAndSaysWhyLikeTheWindow) {
    const QString eeprom = folder.filePath("gateway.eeprom");
    SimulatorProcess simulator;
    simulator.Start({"--com", "7", "--demo", "--eeprom", eeprom});
    const QString notBackup = folder.filePath("notes.ini");
    {
        QFile file(notBackup);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Config_EEPROM]\r\nFileType=notes\r\n");
    }

    CliRun run = RunCli({"restore", "--port", simulator.Device, notBackup});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "File Data Type Error");

    run = RunCli({"backup", "--port", simulator.Device, "/nonexistent-folder/x.ini"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.startsWith("Can't write the backup file /nonexistent-folder/x.ini."))
        << run.Err.toStdString();

    run = RunCli({"backup", "--port", simulator.Device});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err,
              "Give FILE.ini for one port, or --out-dir DIR for PORT.ini files\n"
              "Usage: kv9052r-cli backup --port P FILE.ini | --port P [--port P...] --out-dir DIR");

    simulator.Stop();
    EXPECT_EQ(LoadImage(eeprom), sim::DemoImage()) << "nothing was written";
}

TEST_F(CliBackup, ThreeGatewaysAtOnceOneOfThemSilent) {
    // Made before any starts, the three publish into the same port folder.
    SimulatorProcess first;
    SimulatorProcess second;
    SimulatorProcess silent;
    first.Start({"--com", "1", "--demo"});
    second.Start({"--com", "2"});
    silent.Start({"--com", "3", "--stop-after", "0"});

    for (const char* command : {"read", "backup"}) {
        const CliRun run =
            RunCli({command, "--port", "COM1,COM2", "--port", "COM3", "--out-dir", folder.path()});
        EXPECT_EQ(run.ExitCode, 1) << command;
        QStringList table = run.Out.split('\n').mid(run.Out.count('\n') - 3);
        for (QString& row : table) row = row.simplified().section(' ', 0, 1);  // no seconds
        EXPECT_EQ(table, QStringList({"PORT OUTCOME", "COM1 OK", "COM2 OK", "COM3 Timeout"}))
            << run.Out.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({"COM1.ini", "COM1.json", "COM2.ini", "COM2.json"}));
}

}  // namespace
}  // namespace kv::test
