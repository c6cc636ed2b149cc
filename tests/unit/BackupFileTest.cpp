#include <gtest/gtest.h>

#include <QStringConverter>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "backup/BackupFile.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

using test::WriteAll;

// Every copied byte differs from its neighbours and from zero.
EepromImage PatternImage() {
    EepromImage image;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < BackupBytesOfBlock(block); ++address)
            image.Blocks[block][address] = uint8_t(block * 17 + address * 3 + 1);
    return image;
}

const QByteArray MinimalHeader = "[Config_EEPROM]\r\nFileType=KV-9052R_EEPROM\r\n";

TEST(BackupFile, WritesTheExactShape) {
    const QByteArray text = BackupFile::Encode(PatternImage());
    EXPECT_TRUE(text.startsWith(MinimalHeader +
                                "[BLOCK_0]\r\n"
                                "Address_0=01 04 07 0A 0D 10 13 16 19 1C 1F 22 25 28 2B 2E \r\n"
                                "Address_16=31 34 37 3A 3D 40 43 46 49 4C 4F 52 55 58 5B 5E \r\n"
                                "[BLOCK_1]\r\nAddress_0=12 15 "));
    EXPECT_TRUE(text.contains("\r\n[BLOCK_8]\r\nAddress_0=89 8C "));
    EXPECT_TRUE(
        text.contains("\r\nAddress_240=59 5C 5F 62 65 68 6B 6E 71 74 77 7A 7D 80 83 86 "
                      "\r\n[BLOCK_9]\r\n"));
    EXPECT_TRUE(text.contains("\r\n[BLOCK_11]\r\nAddress_0=BC BF C2 "));
    EXPECT_EQ(text.count("[BLOCK_"), 6);
    EXPECT_EQ(text.count("\r\nAddress_"), 2 + 2 + 4 * 16);
    EXPECT_EQ(text.count("\r\n"), text.count('\n')) << "every line ends in CR LF";
    EXPECT_EQ(text.count('\n'), 2 + 6 + 2 + 2 + 4 * 16);
    EXPECT_TRUE(text.endsWith(" \r\n"));
}

TEST(BackupFile, ReadsWhatEarlierVersionsAndEditorsLeaveAndUtf16) {
    QByteArray text =
        "\xEF\xBB\xBF"
        "; saved by hand\n"
        "  [ config_eeprom ]  \n"
        "\n"
        "  filetype =  KV-9052R_EEPROM  \n"
        "[block_0]\n"
        "ADDRESS_0 = ff 0a G1 1 \t\n"
        "Address_16=7f\n"
        "[BLOCK_8]\n"
        "Address_240=01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10\n"
        "Address_240=FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF\n";
    const BackupReadResult result = BackupFile::Decode(text);
    ASSERT_EQ(result.Status, BackupReadStatus::Ok);
    const EepromBlock& block0 = result.Image.Blocks[0];
    EXPECT_EQ(block0[1], 10);
    EXPECT_EQ(block0[2], 0) << "a pair that is not hexadecimal";
    EXPECT_EQ(block0[3], 1) << "a single digit with its blank";
    EXPECT_EQ(block0[4], 0);
    EXPECT_EQ(block0[16], 127);
    EXPECT_EQ(result.Image.Blocks[8][240], 1) << "the first of two equal keys counts";
    EXPECT_EQ(result.Image.Blocks[8][255], 16);
    EXPECT_EQ(result.Image.Blocks[1], EepromBlock{});

    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray wide =
        utf16.encode(QString::fromLatin1(MinimalHeader + "[BLOCK_1]\r\nAddress_16=00 AB\r\n"));
    EXPECT_EQ(BackupFile::Decode(wide).Image.Blocks[1][17], 0xAB);
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
