// Writes that stop half-way: the gateway's configuration is kept before the first byte, and
// the outcome says what became of the gateway and which backup brings it back.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "backup/RestoreBackup.h"
#include "save/ApplyConfiguration.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using test::SimulatedGateway;

// Command lines the demo gateway takes for one read-out, and for a whole apply (read,
// write, read back) of ChangedTimeout.
constexpr int ReadLines = 235;
constexpr int ApplyLines = 700;
const QByteArray ChangedTimeout = R"({"SerialClasses": [{"CmdTimeout": 500}]})";

// A demo gateway on an open port, the backup file of a factory gateway, a backup folder.
class WriteSafetyTest : public ::testing::Test {
protected:
    WriteSafetyTest() {
        gateway.Console.Eeprom = sim::DemoImage();
        EXPECT_TRUE(gateway.Port.Open().ok());
        EXPECT_TRUE(test::WriteAll(factoryBackup, BackupFile::Encode(sim::FactoryImage())));
    }

    RestoreOutcome Restore() {
        return RestoreBackup(link, factoryBackup, {false, backups, "COM3", {}});
    }

    ApplyOutcome Apply(const QByteArray& json, const QString& backupFolder) {
        const ApplyOptions options{{folder.path()}, {}, true, {}, false, backupFolder, "COM3"};
        return ApplyConfiguration(link, QJsonDocument::fromJson(json).object(), options);
    }

    bool GatewayUnchanged() const {
        return gateway.Console.Eeprom.Blocks == sim::DemoImage().Blocks;
    }

    SimulatedGateway gateway;
    ConsoleLink link{gateway.Port, gateway.Clock};
    QTemporaryDir folder;
    const QString factoryBackup = folder.filePath("factory.ini");
    const QString backups = folder.filePath("backups");
};

TEST_F(WriteSafetyTest, RestoreKeepsTheGatewayFirstAndApplyingThatBackupBringsItBack) {
    const RestoreOutcome restored = Restore();
    ASSERT_TRUE(restored.Copy.ok()) << restored.Copy.Detail.toStdString();
    // What was written: EepromCopyTest.
    ASSERT_TRUE(restored.BackupPath.endsWith("_node5_COM3.json"));

    const ApplyOutcome back = Apply(test::ReadAll(restored.BackupPath), {});
    EXPECT_EQ(back.State, ApplyState::WrittenVerified) << back.Errors.join('\n').toStdString();
    EXPECT_TRUE(GatewayUnchanged());
}

TEST_F(WriteSafetyTest, NoBackupNoWrite) {
    ASSERT_TRUE(test::WriteAll(backups, "a file where the folder should be"));
    const RestoreOutcome restored = Restore();
    EXPECT_EQ(restored.Copy.Result, CopyResult::NoBackupKept);
    EXPECT_TRUE(RestoreOutcomeText(restored, factoryBackup).endsWith("\nNothing was written."));
    EXPECT_TRUE(GatewayUnchanged());
}

// The console goes silent after a number of lines: during the read that the backup is
// made of, during the write, during the read-back.
struct Interruption {
    const char* What;
    int SilentAfterLines;
    bool Restore;  // else apply
    bool GatewayUnchanged;
    bool BackupKept;
    const char* Text;  // %1: the backup's path
};

class InterruptedWriteTest : public WriteSafetyTest,
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
        const ApplyOutcome outcome = Apply(ChangedTimeout, backups);
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
        Interruption{"restore, reading", 40, true, true, false,
                     "The gateway could not be read for a backup: Timeout\nNothing was written."},
        Interruption{
            "restore, writing", ReadLines + 40, true, false, true,
            "Timeout\nTo get the earlier configuration back: kv9052r-cli apply --port P %1"},
        Interruption{"apply, writing", ReadLines + 70, false, false, true,
                     "The gateway is partly written."},
        Interruption{"apply, reading back", ApplyLines - 40, false, false, true,
                     "Written, but not verified: the read-back failed."}));

}  // namespace
}  // namespace kv
