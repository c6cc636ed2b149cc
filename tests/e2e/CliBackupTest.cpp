// kv9052r-cli backup and restore between virtual gateway programs over real pseudo-terminals;
// files written on a full disk.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <csignal>

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
        {{{"backup", "--port", "COM7", "%1/e.ini"},
          0,
          "Import to ini file finished.\nThe Ethernet settings are not part of an EEPROM backup; "
          "the gateway holds IP address 192.168.255.1, mask 255.255.255.0, gateway 192.168.0.1.",
          ""},
         {{"restore", "--port", "COM8", "%1/e.ini"},
          0,
          "Export to KV-9052R's EEPROM finished.\nThe Ethernet settings are not part of an EEPROM "
          "backup; the gateway holds...",
          "The gateway's configuration was kept in ...COM8.json"},
         {{"restore", "--port", "COM8", "%1/notes.ini"}, 2, "", "File Data Type Error"},
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

    // A device path names its files after the whole of its name below /dev.
    const QString pts = second.Device.section('/', -1);
    for (const char* command : {"read", "backup"}) {
        const CliRun run = RunCli({command, "--port", "COM1," + second.Device, "--port", "COM3",
                                   "--out-dir", folder.path()});
        EXPECT_EQ(run.ExitCode, 1) << command;
        QStringList table = run.Out.split('\n').mid(run.Out.count('\n') - 3);
        for (QString& row : table) row = row.simplified().section(' ', 0, 1);  // no seconds
        EXPECT_EQ(table, QStringList({"PORT OUTCOME", "COM1 OK", "/dev/pts/" + pts + " OK",
                                      "COM3 Timeout"}))
            << run.Out.toStdString();
    }
    EXPECT_EQ(
        QDir(folder.path()).entryList(QDir::Files),
        QStringList({"COM1.ini", "COM1.json", "pts-" + pts + ".ini", "pts-" + pts + ".json"}));
}

// Files written on a full disk: a small tmpfs, filled up, when the test may mount one, else
// a file-size limit of 512 bytes on the programs (SIGXFSZ ignored), which fails the same way.
// The old files stay byte for byte, the programs say why and fail, and a backup that cannot
// be kept stops the write to the gateway.
TEST(CliFullDisk, OldFilesStayTheProgramsFailAndNothingIsWrittenToTheGateway) {
    SimulatorProcess gateway, kept;
    const QString folder = gateway.Folder.path(), full = folder + "/full";
    gateway.Start({"--com", "5", "--demo", "--eeprom", folder + "/a.eeprom"});
    const QByteArray eeprom = ReadAll(folder + "/a.eeprom"),
                     json = R"({"DeviceNetParams": {"NodeId": 12}})";
    const bool mounted =
        QDir().mkpath(full) && mount("tmpfs", qPrintable(full), "tmpfs", 0, "size=64k") == 0;
    const auto unmount = qScopeGuard([&] {
        if (mounted) umount2(qPrintable(full), MNT_DETACH);
    });
    ASSERT_TRUE(WriteAll(full + "/old.ini", "old") && WriteAll(full + "/c.json", json) &&
                WriteAll(full + "/sim.eeprom", eeprom) && QDir().mkpath(full + "/b") &&
                WriteAll(full + "/t.csv",
                         "Instance,NetId,FunctionCode,MemAddress,StartAddress,"
                         "Length\n1,1,3,0,0,8\n2,1,3,8,0,8\n3,1,3,16,0,8\n"));
    QFile filler(full + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (mounted && filler.write(QByteArray(4096, 'x')) > 0) continue;
    if (!mounted)
        ChildSetup = [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{512, 512};
            setrlimit(RLIMIT_FSIZE, &limit);
        };
    const QString why = mounted ? "No space left on device" : "File too large";

    kept.Start({"--com", "6", "--eeprom", full + "/sim.eeprom"});
    ExpectRuns(
        {{{"backup", "--port", "COM5", "%1/old.ini"},
          1,
          "",
          "Can't write the backup file %1/old.ini.\n" + why},
         {{"apply", "--port", "COM5", "%1/c.json", "--backup-dir", "%1/b"},
          1,
          "",
          "Can't write the backup %1/b/...: " + why + "\nNothing was written to the gateway."},
         {{"commands", "%1/c.json", "--class", "COM1", "--set", "%1/t.csv", "--in-place"},
          1,
          "",
          "Can't write %1/c.json: " + why}},
        full);
    ChildSetup = {};
    ExpectRuns(
        {{{"apply", "--port", "COM6", full + "/c.json", "--backup-dir", "%1/b", "--eds-dir", "%1"},
          0,
          "...Written and verified.",
          "The gateway's configuration was kept in %1/b/..."}},
        folder);
    EXPECT_TRUE(kept.Stop(1).endsWith("Cannot write " + full + "/sim.eeprom: " + why));
    gateway.Stop();
    EXPECT_EQ(ReadAll(folder + "/a.eeprom"), eeprom) << "nothing written to the gateway";
    EXPECT_EQ(
        ReadAll(full + "/old.ini") + ReadAll(full + "/c.json") + ReadAll(full + "/sim.eeprom"),
        "old" + json + eeprom);
    EXPECT_EQ(QDir(full).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"b", "c.json", "filler", "old.ini", "sim.eeprom", "t.csv"}));
}

}  // namespace
}  // namespace kv::test
