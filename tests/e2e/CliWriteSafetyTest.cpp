// The safety net of the programs: a write that stops half-way says so, names the backup
// and fails; a restore keeps the gateway's configuration first; the simulator traces the
// exchange.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "CliProcess.h"
#include "SimulatorProcess.h"
#include "backup/BackupFile.h"
#include "sim/DemoImages.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

class CliWriteSafety : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    QStringList Backups() const { return QDir(backups).entryList(QDir::Files); }

    QTemporaryDir folder;
    const QString backups = folder.filePath("backups");
    SimulatorProcess simulator;
};

TEST_F(CliWriteSafety, ApplyThatStopsHalfWayFailsAndNamesTheBackup) {
    // 235 lines read the demo gateway; the 70th line after them writes COM1's settings.
    simulator.Start({"--com", "4", "--demo", "--stop-after", "305"});
    const QString file = folder.filePath("timeout.json");
    ASSERT_TRUE(WriteAll(file, R"({"SerialClasses": [{"CmdTimeout": 500}]})"));

    const CliRun run = RunCli({"apply", "--port", "COM4", file, "--eds-dir", folder.path(),
                               "--backup-dir", backups, "--quiet"});

    EXPECT_EQ(run.ExitCode, 1);
    ASSERT_EQ(Backups().size(), 1);
    const QString backup = QDir(backups).filePath(Backups().first());
    EXPECT_TRUE(
        run.Err.contains("The gateway is partly written.\nTo get the earlier "
                         "configuration back: kv9052r-cli apply --port P " +
                         backup + "\nLast command sent: "))
        << run.Err.toStdString();
}

TEST_F(CliWriteSafety, RestoreKeepsTheGatewayFirstAndTheSimulatorTracesIt) {
    const QString trace = folder.filePath("sim-trace.txt");
    simulator.Start({"--com", "4", "--demo", "--trace", trace});
    const QString file = folder.filePath("factory.ini");
    ASSERT_TRUE(WriteAll(file, BackupFile::Encode(sim::FactoryImage())));

    const CliRun run = RunCli({"restore", "--port", "COM4", "--backup-dir", backups, file});
    simulator.Stop();

    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    ASSERT_EQ(Backups().size(), 1);
    EXPECT_EQ(run.Out, "The gateway's configuration was kept in " +
                           QDir(backups).filePath(Backups().first()) +
                           "\nExport to KV-9052R's EEPROM finished.");
    // Each direction's text, joined: how the line cut it into chunks does not matter.
    QString received, sent;
    static const QRegularExpression event(R"(^ *\d+\.\d{3} (<-|->) (.*)$)");
    for (const QString& line : QString::fromUtf8(ReadAll(trace)).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = event.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        (match.captured(1) == "<-" ? received : sent) += match.captured(2);
    }
    EXPECT_TRUE(received.contains("\\rblock 8\\r")) << received.left(300).toStdString();
    EXPECT_TRUE(sent.contains("\\r\\nq5308RT>"));
}

}  // namespace
}  // namespace kv::test
