// Files written on a full disk: a small tmpfs, filled up, when the test may mount one, else
// a file-size limit of 512 bytes on the programs (SIGXFSZ ignored), which fails the same way.
// The old files stay byte for byte, the programs say why and fail, and a backup that cannot
// be kept stops the write to the gateway.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <QDir>
#include <QScopeGuard>
#include <csignal>

#include "CliProcess.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

TEST(CliFullDisk, OldFilesStayTheProgramsFailAndNothingIsWrittenToTheGateway) {
    SimulatorProcess gateway, kept;
    const QString folder = gateway.Folder.path(), full = folder + "/full";
    gateway.Start({"--com", "5", "--demo", "--eeprom", folder + "/a.eeprom"});
    const QByteArray eeprom = ReadAll(folder + "/a.eeprom"),
                     json = R"({"DeviceNetParams": {"NodeId": 12}})";
    const bool mounted =
        QDir().mkpath(full) && mount("tmpfs", qPrintable(full), "tmpfs", 0, "size=64k") == 0;
    const auto restore = qScopeGuard([&] {
        ChildSetup = {};
        if (mounted) umount2(qPrintable(full), MNT_DETACH);
    });
    ASSERT_TRUE(WriteAll(full + "/good.ini", "old") && WriteAll(full + "/conf.json", json) &&
                WriteAll(full + "/sim.eeprom", eeprom) && QDir().mkpath(full + "/b") &&
                WriteAll(folder + "/t.csv",
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
    const QString reason = mounted ? "No space left on device" : "File too large";

    kept.Start({"--com", "6", "--eeprom", full + "/sim.eeprom"});
    ExpectRuns({{{"backup", "--port", "COM5", full + "/good.ini"},
                 1,
                 "",
                 "Can't write the backup file " + full + "/good.ini.\n" + reason},
                {{"apply", "--port", "COM5", full + "/conf.json", "--backup-dir", full + "/b"},
                 1,
                 "",
                 "Can't write the backup " + full + "/b/...: " + reason +
                     "\nNothing was written to the gateway."},
                {{"commands", full + "/conf.json", "--class", "COM1", "--set", "%1/t.csv"},
                 1,
                 "",
                 "Can't write " + full + "/conf.json: " + reason}},
               folder);
    ChildSetup = {};
    ExpectRuns({{{"apply", "--port", "COM6", full + "/conf.json", "--backup-dir", "%1/b",
                  "--eds-dir", "%1"},
                 0,
                 "...Written and verified.",
                 ""}},
               folder);
    EXPECT_TRUE(kept.Stop(1).endsWith("Cannot write " + full + "/sim.eeprom: " + reason));
    gateway.Stop();
    EXPECT_EQ(ReadAll(folder + "/a.eeprom"), eeprom) << "nothing written to the gateway";
    EXPECT_EQ(ReadAll(full + "/sim.eeprom"), eeprom);
    EXPECT_EQ(ReadAll(full + "/good.ini") + ReadAll(full + "/conf.json"), "old" + json);
    EXPECT_EQ(QDir(full).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"b", "conf.json", "filler", "good.ini", "sim.eeprom"}));
    EXPECT_TRUE(QDir(full + "/b").isEmpty());
}

}  // namespace
}  // namespace kv::test
