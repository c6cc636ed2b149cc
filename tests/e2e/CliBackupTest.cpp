// kv9052r-cli backup and restore between virtual gateway programs over real pseudo-terminals.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "CliProcess.h"
#include "backup/BackupFile.h"
#include "platform/PortNaming.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliBackup, ABackupRestoresToAnIdenticalEepromOnAnotherGateway) {
    // A new gateway with the demo configuration in the copied blocks.
    EepromImage original = sim::FactoryImage();
    const EepromImage demo = sim::DemoImage();
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            original.Blocks[block][address] = demo.Blocks[block][address];
    QTemporaryDir folder;
    const QString secondEeprom = folder.filePath("second.eeprom");
    ASSERT_TRUE(WriteAll(folder.filePath("notes.ini"), "[Config_EEPROM]\r\nFileType=notes\r\n"));

    // Made before either starts, the two publish into the same port folder.
    SimulatorProcess first;
    SimulatorProcess second;
    first.Start({"--com", "7", "--demo"});
    second.Start({"--com", "8", "--factory", "--eeprom", secondEeprom});
    ExpectRuns(
        {{{"backup", "--port", "COM7", "%1/e.ini"}, 0, "Import to ini file finished.", ""},
         {{"restore", "--port", "COM8", "%1/e.ini"},
          0,
          "The gateway's configuration was kept in ...COM8.json\n"
          "Export to KV-9052R's EEPROM finished.",
          ""},
         {{"restore", "--port", "COM8", "%1/notes.ini"}, 1, "", "File Data Type Error"},
         {{"backup", "--port", "COM7"}, 2, "", "Give FILE.ini for one port, or --out-dir DIR..."}},
        folder.path());

    first.Stop();
    second.Stop();
    QString error;
    const auto written = sim::LoadEepromFile(secondEeprom, error);
    ASSERT_TRUE(written.has_value()) << error.toStdString();
    EXPECT_EQ(*written, original);
    EXPECT_FALSE(QFileInfo(ComLinkPath(7)).isSymLink()) << "the link goes with the gateway";
}

TEST(CliBackup, ThreeGatewaysAtOnceOneOfThemSilent) {
    // Made before any starts, the three publish into the same port folder.
    SimulatorProcess first;
    SimulatorProcess second;
    SimulatorProcess silent;
    first.Start({"--com", "1", "--demo"});
    second.Start({"--com", "2"});
    silent.Start({"--com", "3", "--stop-after", "0"});
    QTemporaryDir folder;

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
