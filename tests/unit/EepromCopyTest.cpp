// The EEPROM backup file, and the copies between a gateway and that file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringConverter>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "backup/EepromCopy.h"
#include "backup/RestoreBackup.h"
#include "sim/DemoImages.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using test::ReadAll;
using test::SimulatedGateway;
using test::WriteAll;

// A factory gateway whose every EEPROM byte, copied or not, differs from its neighbours.
EepromImage PatternedEeprom(int seed) {
    EepromImage image = sim::FactoryImage();
    for (int block = 0; block < EepromBlockCount; ++block)
        for (int address = 0; address < EepromBlockSize; ++address)
            image.Blocks[block][address] = uint8_t(seed + block * 31 + address * 7 + 1);
    return image;
}

const QByteArray MinimalHeader = "[Config_EEPROM]\r\nFileType=KV-9052R_EEPROM\r\n";

// One connected virtual gateway with the utility's console link on it.
class EepromCopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Gateway.Port.Open().ok()); }
    CopyOutcome Import() {
        return ImportToIni(Link, File, [this](int value) { Progress.push_back(value); });
    }
    CopyOutcome Export(bool allowIncomplete = false) {
        const ProgressFn record = [this](int value) { Progress.push_back(value); };
        return RestoreBackup(Link, File, {allowIncomplete, {}, {}, record, {}}).Copy;
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
    // Seven sections; blocks 0 and 1 keep their first 32 bytes, the class blocks all 256.
    const QByteArray file = ReadAll(File);
    EXPECT_TRUE(file.startsWith(MinimalHeader +
                                "[BLOCK_0]\r\n"
                                "Address_0=01 08 0F 16 1D 24 2B 32 39 40 47 4E 55 5C 63 6A \r\n"
                                "Address_16=71 78 7F 86 8D 94 9B A2 A9 B0 B7 BE C5 CC D3 DA \r\n"
                                "[BLOCK_1]\r\nAddress_0=20 27 2E "));
    EXPECT_TRUE(
        file.contains("\r\nAddress_240=89 90 97 9E A5 AC B3 BA C1 C8 CF D6 DD E4 EB F2 "
                      "\r\n[BLOCK_9]\r\n"));
    EXPECT_TRUE(file.contains("\r\n[BLOCK_11]\r\nAddress_0=56 5D 64 "));
    EXPECT_TRUE(file.endsWith("Address_240=E6 ED F4 FB 02 09 10 17 1E 25 2C 33 3A 41 48 4F \r\n"));
    EXPECT_EQ(file.count("[BLOCK_"), 6);
    EXPECT_EQ(file.count("\r\nAddress_"), 2 + 2 + 4 * 16);
    EXPECT_EQ(file.count("\r\n"), file.count('\n')) << "every line ends in CR LF";
    EXPECT_EQ(file.count('\n'), 2 + 6 + 2 + 2 + 4 * 16);
    EXPECT_EQ(FilesInFolder(), QStringList({"KV-9052R_EEP.ini"}));
    // The copy ends with the Ethernet settings, which the backup does not carry.
    EXPECT_EQ(Gateway.LinesReceived().sliced(Gateway.LinesReceived().size() - 4),
              QStringList({"quit", "ip", "mask", "gateway"}));
    EXPECT_EQ(Progress.front(), 1);
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    EXPECT_TRUE(std::is_sorted(Progress.begin(), Progress.end()));
}

TEST_F(EepromCopyTest, ImportThatTimesOutInBlock9LeavesTheEarlierBackup) {
    Gateway.Console.Eeprom = PatternedEeprom(0);
    ASSERT_TRUE(WriteAll(File, "earlier backup\r\n"));
    Gateway.Console.Faults.StopAfterLines = 355;  // 20 lines into block 9

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

TEST_F(EepromCopyTest, IncompleteFileIsRefusedBeforeAnythingIsSent) {
    const QByteArray whole = BackupFile::Encode(PatternedEeprom(50));
    std::vector<std::pair<QByteArray, QString>> rows = {
        {QByteArray(whole).remove(whole.indexOf("Address_16="), 50),
         "[BLOCK_0] Address_16 is missing"}};
    for (const char* section :
         {"[BLOCK_0]", "[BLOCK_1]", "[BLOCK_8]", "[BLOCK_9]", "[BLOCK_10]", "[BLOCK_11]"})
        rows.push_back({whole.left(whole.indexOf(section)), section + QString(" is missing")});
    for (const auto& [file, firstLack] : rows) {
        ASSERT_TRUE(WriteAll(File, file));
        const CopyOutcome outcome = Export();
        EXPECT_EQ(outcome.Result, CopyResult::IncompleteFile);
        EXPECT_TRUE(outcome.Detail.startsWith(firstLack)) << outcome.Detail.toStdString();
        EXPECT_EQ(Gateway.LinesReceived(), QStringList());
    }
}

// Allowed to be incomplete, the file without block 11 writes zeros there. What a missing part
// reads as: BackupFile.ReadsWhatEarlierVersionsAndEditorsLeaveAndUtf16.
TEST_F(EepromCopyTest, ExportWritesEveryByteTheFileHoldsAndNothingElse) {
    Gateway.Console.Eeprom = PatternedEeprom(7);
    const EepromImage source = PatternedEeprom(50);
    const QByteArray whole = BackupFile::Encode(source);
    ASSERT_TRUE(WriteAll(File, whole.left(whole.indexOf("[BLOCK_11]"))));
    EepromImage expected = Gateway.Console.Eeprom;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            expected.Blocks[block][address] = source.Blocks[block][address];
    expected.Blocks[11] = EepromBlock{};

    ASSERT_EQ(Export(true).Result, CopyResult::Ok);

    EXPECT_EQ(Gateway.Console.Eeprom, expected);
    // The copy ends with the Ethernet settings, which the backup does not carry.
    EXPECT_EQ(Gateway.LinesReceived().sliced(Gateway.LinesReceived().size() - 4),
              QStringList({"quit", "ip", "mask", "gateway"}));
    EXPECT_EQ(Progress.back(), CopyProgressMaximum);
    // A restore that stops while writing: WriteSafetyTest; the shorter time-out's scope:
    // ConsoleLinkTest.
}

// A file that is no backup, and another controller: CliBackupTest and ImpExpEepTest.
TEST(EepromCopy, TheQAndLanControllersAreCopied) {
    EXPECT_TRUE(IsCopyableController("\r\nq5308RT>"));
    EXPECT_TRUE(IsCopyableController("\r\nvMAR-5308RT_LAN>"));
    EXPECT_FALSE(IsCopyableController("\r\nKLT-400>"));
}

// A value of one or two digits per byte between blanks, as earlier versions and editors leave
// it; a value of any other shape, once read from the wrong places, is refused and reads as 0.
TEST(BackupFile, ReadsSixteenBytesPerKeyAsEarlierVersionsAndEditorsLeaveThem) {
    const QByteArray written = "Address_0=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ";
    const QByteArray file =
        "\xEF\xBB\xBF; saved by hand\n  [ config_eeprom ]  \n\n  filetype =  KV-9052R_EEPROM  \n" +
        BackupFile::Encode(PatternedEeprom(0)).mid(MinimalHeader.size());
    const QString lack = "[BLOCK_0] Address_0 is not 16 hexadecimal pairs: \"%1\"";
    const std::vector<std::pair<QByteArray, QString>> rows = {
        {written, ""},
        {" address_0 = 1 2 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10\t", ""},
        {"Address_0=1\t\t2 3 4 5 6 7 8 9 A B C D E F 10", ""},
        {written + "\r\nAddress_0=FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", ""},
        {"Address_0=0102030405060708090A0B0C0D0E0F10",
         lack.arg("0102030405060708090A0B0C0D0E0F10")},
        {written + "11", lack.arg(written.mid(10) + "11")},
        {written + "; comment", lack.arg(written.mid(10) + "; comment")},
        {written.left(54), lack.arg(written.mid(10, 44))},
        {"Address_0=001 02", lack.arg("001 02")},
        {"Address_0=" + QByteArray(1000000, 'A'), lack.arg(QString(64, 'A') + "...")}};
    for (const auto& [line, expected] : rows) {
        const QByteArray text = QByteArray(file).replace(file.indexOf("Address_0="), 58, line);
        const BackupReadResult result = BackupFile::Decode(text);
        EXPECT_EQ(result.Lacks.join('\n'), expected) << line.left(80).constData();
        EXPECT_EQ(result.Image.Blocks[0][15], expected.isEmpty() ? 16 : 0);
    }
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray wide = utf16.encode(QString::fromLatin1(QByteArray(file).mid(3)));
    EXPECT_EQ(BackupFile::Decode(wide).Image.Blocks[8][0], 0xF9);
}

TEST(BackupFile, TypeMarkMustMatchApartFromOuterBlanks) {
    for (const char* text :
         {"[Config_EEPROM]\nFileType=KV-9052R_EEPROM2\n",
          "[Config_EEPROM]\nFileType=kv-9052r_eeprom\n", "[Other]\nFileType=KV-9052R_EEPROM\n", ""})
        EXPECT_EQ(BackupFile::Decode(text).Status, BackupReadStatus::WrongFileType) << text;
}

TEST(BackupFile, RefusesFilesThatAreNoText) {
    QByteArray binary = MinimalHeader;
    binary += QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    EXPECT_EQ(BackupFile::Decode(binary).Status, BackupReadStatus::NotText);

    QTemporaryDir folder;
    const QString huge = folder.filePath("huge.ini");
    ASSERT_TRUE(WriteAll(huge, MinimalHeader + QByteArray(BackupFile::MaxFileBytes, ';')));
    const BackupReadResult result = BackupFile::Read(huge);
    EXPECT_EQ(result.Status, BackupReadStatus::NotText);
    EXPECT_FALSE(result.Detail.isEmpty());

    const BackupReadResult missing = BackupFile::Read(folder.filePath("none.ini"));
    EXPECT_EQ(missing.Status, BackupReadStatus::CannotRead);
    EXPECT_FALSE(missing.Detail.isEmpty());
}

}  // namespace
}  // namespace kv
