#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <vector>

#include "backup/BackupFile.h"
#include "backup/EepromCopy.h"
#include "backup/RestoreBackup.h"
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

// One connected virtual gateway with the utility's console link on it.
class EepromCopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Gateway.Port.Open().ok()); }
    CopyOutcome Import() {
        return ImportToIni(Link, File, [this](int value) { Progress.push_back(value); });
    }
    CopyOutcome Export(bool allowIncomplete = false) {
        const ProgressFn record = [this](int value) { Progress.push_back(value); };
        return RestoreBackup(Link, File, {allowIncomplete, {}, {}, record}).Copy;
    }
    QStringList FilesInFolder() { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
    QString File = folder.filePath("KV-9052R_EEP.ini");
    SimulatedGateway Gateway;
    ConsoleLink Link{Gateway.Port, Gateway.Clock};
    std::vector<int> Progress;
};

TEST_F(EepromCopyTest, ImportWritesTheBlocksAndLeavesTheEepromAsItWas) {
    const EepromImage before = PatternedEeprom(0);
    Gateway.Console.Eeprom = before;
    ASSERT_TRUE(WriteAll(File, "an older, longer backup that must go completely\r\n"));

    ASSERT_EQ(Import().Result, CopyResult::Ok);

    EXPECT_EQ(Gateway.Console.Eeprom, before) << "each byte read is written back as it was";
    // The shape of the text (7 sections, 48-character values): BackupFileTest.
    const QByteArray file = ReadAll(File);
    EXPECT_TRUE(
        file.startsWith("[Config_EEPROM]\r\nFileType=KV-9052R_EEPROM\r\n[BLOCK_0]\r\n"
                        "Address_0=01 08 0F 16 1D 24 2B 32 39 40 47 4E 55 5C 63 6A \r\n"));
    EXPECT_TRUE(file.endsWith("Address_240=E6 ED F4 FB 02 09 10 17 1E 25 2C 33 3A 41 48 4F \r\n"));
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"}));
    EXPECT_EQ(Gateway.LinesReceived().last(), "quit");
    EXPECT_EQ(Progress.front(), 1);
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    EXPECT_TRUE(std::is_sorted(Progress.begin(), Progress.end()));
}

TEST_F(EepromCopyTest, ImportThatTimesOutInBlock9LeavesTheEarlierBackup) {
    Gateway.Console.Eeprom = PatternedEeprom(0);
    ASSERT_TRUE(WriteAll(File, "earlier backup\r\n"));
    sim::ConsoleEmulator& console = Gateway.Console;
    Gateway.Port.EachWait = [&console] {
        if (console.Faults.StopAfterLines < 0 && console.ReceivedLines().contains("block 9"))
            console.Faults.StopAfterLines = console.LinesReceived() + 20;
    };

    EXPECT_EQ(Import().Result, CopyResult::Timeout);
    EXPECT_EQ(ReadAll(File), "earlier backup\r\n");
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"})) << "no partial file is left";
}

TEST_F(EepromCopyTest, ImportIntoAFolderThatCannotBeWrittenSendsNothing) {
    File = QStringLiteral("/nonexistent-folder/backup.ini");
    const CopyOutcome outcome = Import();
    EXPECT_EQ(outcome.Result, CopyResult::FileError);
    EXPECT_FALSE(outcome.Detail.isEmpty());
    EXPECT_TRUE(Gateway.LinesReceived().isEmpty());
}

TEST_F(EepromCopyTest, ExportWritesEveryByteOfTheSixBlocksAndNothingElse) {
    const EepromImage source = PatternedEeprom(50);
    ASSERT_TRUE(WriteAll(File, BackupFile::Encode(source)));
    EepromImage expected = Gateway.Console.Eeprom;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            expected.Blocks[block][address] = source.Blocks[block][address];

    ASSERT_EQ(Export().Result, CopyResult::Ok);

    EXPECT_EQ(Gateway.Console.Eeprom, expected);
    EXPECT_EQ(Gateway.LinesReceived().last(), "quit");
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    // A restore that stops while writing: WriteSafetyTest; the shorter time-out's scope:
    // ConsoleLinkTest.
}

TEST_F(EepromCopyTest, IncompleteFileIsRefusedBeforeAnythingIsSent) {
    const QByteArray whole = BackupFile::Encode(PatternedEeprom(50));
    const auto cutBefore = [&](const char* section) { return whole.left(whole.indexOf(section)); };
    QByteArray withoutKey = whole;
    withoutKey.remove(withoutKey.indexOf("Address_16="), 50);
    QByteArray badPair = whole;
    badPair.replace(badPair.indexOf("[BLOCK_8]\r\nAddress_0=") + 21, 3, "G1 ");
    std::vector<std::pair<QByteArray, QString>> rows = {
        {withoutKey, "[BLOCK_0] Address_16 is missing"},
        {badPair, "[BLOCK_8] Address_0 is not 16 hexadecimal pairs: \"G1 "}};
    for (const char* section :
         {"[BLOCK_0]", "[BLOCK_1]", "[BLOCK_8]", "[BLOCK_9]", "[BLOCK_10]", "[BLOCK_11]"})
        rows.push_back({cutBefore(section), section + QString(" is missing")});
    for (const auto& [file, firstLack] : rows) {
        ASSERT_TRUE(WriteAll(File, file));
        const CopyOutcome outcome = Export();
        EXPECT_EQ(outcome.Result, CopyResult::IncompleteFile);
        EXPECT_TRUE(outcome.Detail.startsWith(firstLack)) << outcome.Detail.toStdString();
        EXPECT_EQ(Gateway.LinesReceived(), QStringList());
    }
}

// What a missing part reads as: BackupFileTest.
TEST_F(EepromCopyTest, ExportAllowedIncompleteWritesWhatTheFileHolds) {
    Gateway.Console.Eeprom = PatternedEeprom(7);
    const QByteArray whole = BackupFile::Encode(PatternedEeprom(50));
    ASSERT_TRUE(WriteAll(File, whole.left(whole.indexOf("[BLOCK_11]"))));

    ASSERT_EQ(Export(true).Result, CopyResult::Ok);
    EXPECT_EQ(Gateway.Console.Eeprom.Blocks[11], EepromBlock{});
}

// A file that is no backup, and another controller: CliBackupTest and ImpExpEepTest.
TEST(EepromCopy, TheQAndLanControllersAreCopied) {
    EXPECT_TRUE(IsCopyableController("\r\nq5308RT>"));
    EXPECT_TRUE(IsCopyableController("\r\nvMAR-5308RT_LAN>"));
    EXPECT_FALSE(IsCopyableController("\r\nKLT-400>"));
}

}  // namespace
}  // namespace kv::test
