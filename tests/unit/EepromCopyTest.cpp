#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "backup/BackupFile.h"
#include "backup/EepromCopy.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv::test {
namespace {

// A factory gateway whose every EEPROM byte, copied or not, differs from its neighbours.
EepromImage PatternedEeprom(int seed) {
    EepromImage image = sim::FactoryImage();
    for (int block = 0; block < EepromBlockCount; ++block)
        for (int address = 0; address < EepromBlockSize; ++address)
            image.Blocks[block][address] = uint8_t(seed + block * 31 + address * 7 + 1);
    return image;
}

// Only the bytes a backup holds.
EepromImage CopiedPart(const EepromImage& eeprom) {
    EepromImage copied;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            copied.Blocks[block][address] = eeprom.Blocks[block][address];
    return copied;
}

// One connected virtual gateway with the utility's console link on it.
struct Bench {
    explicit Bench(sim::ControllerModel model = sim::ControllerModel::Q5308RT) : Gateway(model) {
        EXPECT_TRUE(Gateway.Port.Open().ok());
    }
    CopyOutcome Import(const QString& path) {
        return ImportToIni(Link, path, [this](int value) { Progress.push_back(value); });
    }
    CopyOutcome Export(const QString& path, bool allowIncomplete = false) {
        return ExportToEeprom(
            Link, path, [this](int value) { Progress.push_back(value); }, allowIncomplete);
    }

    SimulatedGateway Gateway;
    ConsoleLink Link{Gateway.Port, Gateway.Clock};
    std::vector<int> Progress;
};

class EepromCopyTest : public ::testing::Test {
protected:
    QString FilePath(const QString& name = QStringLiteral("KV-9052R_EEP.ini")) {
        return folder.filePath(name);
    }
    QStringList FilesInFolder() { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
};

TEST_F(EepromCopyTest, ImportWritesTheBlocksAndLeavesTheEepromAsItWas) {
    Bench bench;
    const EepromImage before = PatternedEeprom(0);
    bench.Gateway.Console.Eeprom = before;
    ASSERT_TRUE(WriteAll(FilePath(), "an older, longer backup that must go completely\r\n"));

    ASSERT_EQ(bench.Import(FilePath()).Result, CopyResult::Ok);

    EXPECT_EQ(bench.Gateway.Console.Eeprom, before) << "each byte read is written back as it was";
    // The shape of the text (7 sections, 48-character values): BackupFileTest.
    const QByteArray file = ReadAll(FilePath());
    EXPECT_TRUE(
        file.startsWith("[Config_EEPROM]\r\nFileType=KV-9052R_EEPROM\r\n[BLOCK_0]\r\n"
                        "Address_0=01 08 0F 16 1D 24 2B 32 39 40 47 4E 55 5C 63 6A \r\n"));
    EXPECT_TRUE(file.endsWith("Address_240=E6 ED F4 FB 02 09 10 17 1E 25 2C 33 3A 41 48 4F \r\n"));
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"}));

    const QStringList lines = bench.Gateway.LinesReceived();
    const qsizetype eepromAt = lines.indexOf("use eeprom");
    ASSERT_GT(eepromAt, 0);
    EXPECT_EQ(lines.mid(eepromAt, 4),
              QStringList({"use eeprom", "block 0", "e 0", QString::number(before.Blocks[0][0])}));
    EXPECT_EQ(lines.mid(lines.size() - 3), QStringList({".", ".", "quit"}));

    EXPECT_EQ(bench.Progress.front(), 1);
    EXPECT_EQ(bench.Progress.back(), CopyProgressMaximum);
    EXPECT_TRUE(std::is_sorted(bench.Progress.begin(), bench.Progress.end()));
    EXPECT_EQ(bench.Link.ReplyTimeoutMs, 200);
}

TEST_F(EepromCopyTest, ImportThatTimesOutInBlock9LeavesTheEarlierBackup) {
    Bench bench;
    bench.Gateway.Console.Eeprom = PatternedEeprom(0);
    const QByteArray earlier = BackupFile::Encode(CopiedPart(PatternedEeprom(99)));
    ASSERT_TRUE(WriteAll(FilePath(), earlier));
    sim::ConsoleEmulator& console = bench.Gateway.Console;
    bench.Gateway.Port.EachWait = [&console] {
        if (console.Faults.StopAfterLines < 0 && console.ReceivedLines().contains("block 9"))
            console.Faults.StopAfterLines = console.LinesReceived() + 20;
    };

    EXPECT_EQ(bench.Import(FilePath()).Result, CopyResult::Timeout);
    EXPECT_EQ(ReadAll(FilePath()), earlier);
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"})) << "no partial file is left";
    EXPECT_EQ(bench.Link.ReplyTimeoutMs, 200);
}

TEST_F(EepromCopyTest, ImportIntoAFolderThatCannotBeWrittenSendsNothing) {
    Bench bench;
    const CopyOutcome outcome = bench.Import(QStringLiteral("/nonexistent-folder/backup.ini"));
    EXPECT_EQ(outcome.Result, CopyResult::FileError);
    EXPECT_FALSE(outcome.Detail.isEmpty());
    EXPECT_TRUE(bench.Gateway.LinesReceived().isEmpty());
}

TEST_F(EepromCopyTest, ExportWritesEveryByteOfTheSixBlocksAndNothingElse) {
    Bench bench;
    const EepromImage source = PatternedEeprom(50);
    ASSERT_TRUE(WriteAll(FilePath(), BackupFile::Encode(CopiedPart(source))));
    const EepromImage before = bench.Gateway.Console.Eeprom;

    ASSERT_EQ(bench.Export(FilePath()).Result, CopyResult::Ok);

    EepromImage expected = before;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            expected.Blocks[block][address] = source.Blocks[block][address];
    EXPECT_EQ(bench.Gateway.Console.Eeprom, expected);
    EXPECT_EQ(bench.Gateway.LinesReceived().last(), "quit");
    EXPECT_EQ(bench.Progress.back(), CopyProgressMaximum);
    EXPECT_EQ(bench.Link.ReplyTimeoutMs, 200) << "the shorter block time-out has ended";
}

TEST_F(EepromCopyTest, IncompleteFileIsRefusedBeforeAnythingIsSent) {
    const QByteArray whole = BackupFile::Encode(CopiedPart(PatternedEeprom(50)));
    const auto cutBefore = [&](const char* section) { return whole.left(whole.indexOf(section)); };
    QByteArray withoutKey = whole;
    withoutKey.remove(withoutKey.indexOf("Address_16="), 50);
    QByteArray badPair = whole;
    badPair.replace(badPair.indexOf("[BLOCK_8]\r\nAddress_0=") + 21, 3, "G1 ");
    const struct {
        QByteArray File;
        QString FirstLack;
    } rows[] = {
        {cutBefore("[BLOCK_0]"), "[BLOCK_0] is missing"},
        {cutBefore("[BLOCK_1]"), "[BLOCK_1] is missing"},
        {cutBefore("[BLOCK_8]"), "[BLOCK_8] is missing"},
        {cutBefore("[BLOCK_9]"), "[BLOCK_9] is missing"},
        {cutBefore("[BLOCK_10]"), "[BLOCK_10] is missing"},
        {cutBefore("[BLOCK_11]"), "[BLOCK_11] is missing"},
        {withoutKey, "[BLOCK_0] Address_16 is missing"},
        {badPair, "[BLOCK_8] Address_0 is not 16 hexadecimal pairs: \"G1 "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.FirstLack.toStdString());
        Bench bench;
        ASSERT_TRUE(WriteAll(FilePath(), row.File));
        const CopyOutcome outcome = bench.Export(FilePath());
        EXPECT_EQ(outcome.Result, CopyResult::IncompleteFile);
        EXPECT_TRUE(outcome.Detail.startsWith(row.FirstLack)) << outcome.Detail.toStdString();
        EXPECT_EQ(bench.Gateway.LinesReceived(), QStringList());
    }
}

TEST_F(EepromCopyTest, ExportAllowedIncompleteReadsToleratedValuesAndWritesZerosForMissingParts) {
    Bench bench;
    bench.Gateway.Console.Eeprom = PatternedEeprom(7);
    QByteArray file = BackupFile::Encode(CopiedPart(PatternedEeprom(50)));
    const qsizetype block9 = file.indexOf("[BLOCK_9]");
    file.remove(block9, file.indexOf("[BLOCK_10]") - block9);
    file.replace("FileType=KV-9052R_EEPROM", "FileType =  KV-9052R_EEPROM  ");
    const qsizetype block8 = file.indexOf("[BLOCK_8]\r\nAddress_0=") + 21;
    file.replace(block8, 6, "ff G1 ");
    ASSERT_TRUE(WriteAll(FilePath(), file));

    ASSERT_EQ(bench.Export(FilePath(), true).Result, CopyResult::Ok);

    const EepromImage& eeprom = bench.Gateway.Console.Eeprom;
    EXPECT_EQ(eeprom.Blocks[9], EepromBlock{}) << "a missing block is written as zeros";
    EXPECT_EQ(eeprom.Blocks[8][0], 255);
    EXPECT_EQ(eeprom.Blocks[8][1], 0);
    EXPECT_EQ(eeprom.Blocks[8][2], PatternedEeprom(50).Blocks[8][2]);
}

// A file that is no backup, and another controller: CliBackupTest and ImpExpEepTest.

// A backup restoring to an identical EEPROM on a second gateway: CliBackupTest, end to end.

TEST_F(EepromCopyTest, ExportThatTimesOutReportsItAndRestoresTheTimeout) {
    Bench bench;
    ASSERT_TRUE(WriteAll(FilePath(), BackupFile::Encode(CopiedPart(PatternedEeprom(3)))));
    bench.Gateway.Console.Faults.StopAfterLines = 300;
    EXPECT_EQ(bench.Export(FilePath()).Result, CopyResult::Timeout);
    EXPECT_EQ(bench.Link.ReplyTimeoutMs, 200);
}

TEST_F(EepromCopyTest, TheLanControllerIsCopiedToo) {
    Bench vmar(sim::ControllerModel::VMar5308RtLan);
    vmar.Gateway.Console.Eeprom = PatternedEeprom(0);
    ASSERT_EQ(vmar.Import(FilePath()).Result, CopyResult::Ok);
    EXPECT_TRUE(ReadAll(FilePath()).contains("Address_240=E6 ED F4 FB 02 09 10 17 1E 25 2C"));
}

}  // namespace
}  // namespace kv::test
