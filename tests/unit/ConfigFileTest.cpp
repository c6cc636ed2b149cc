// Configuration files on disk: what is refused before any merge, and the command table of a
// class as CSV.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "config/ClassNames.h"
#include "config/CommandTableCsv.h"
#include "config/ConfigFile.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

TEST(ConfigFile, RefusesWhatIsNoConfigurationFile) {
    QTemporaryDir folder;
    const QString file = folder.filePath("c.json");
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"{\n  \"DeviceNetParams\": x\n}", file + ": line 2, column 22: illegal number"},
        {"[1, 2]", file + ": holds no JSON object"},
        // The reader's refusals themselves: UserFilesTest.
        {QByteArray(1024 * 1024 + 1, ' '), file + ": is larger than 1048576 bytes"},
    };
    for (const auto& [bytes, expected] : cases) {
        ASSERT_TRUE(test::WriteAll(file, bytes));
        EXPECT_EQ(ReadConfigFile(file).Error, expected);
    }
}

TEST(CommandTableCsv, FullClassSurvivesTheRoundTrip) {
    const QByteArray table =
        "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference\n"
        "1,1,1,0,0,16,00001\n"
        "2,2,2,16,9999,8,110000\n"
        "3,3,3,100,0,10,40001\n"
        "4,4,4,110,65535,2,365536\n"
        "5,5,5,120,7,1,00008\n"
        "6,6,6,130,8,1,40009\n"
        "7,7,15,140,100,32,00101\n"
        "8,8,16,200,200,120,40201\n"
        "9,247,3,400,0,1,40001\n"
        "10,9,2,2000,1,47,10002\n";
    const CommandTableRead read = ReadCommandTableCsv(table, 10);
    ASSERT_TRUE(read.ok()) << read.Errors.join('\n').toStdString();
    EXPECT_EQ(CommandTableCsv(read.Commands), table);
}

TEST(CommandTableCsv, ReportsEveryBadCellWithRowAndColumn) {
    const QByteArray table =
        "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length\n"
        "1,1,3,0,0,10\n"
        "2,0,3,0,x,10\n"
        "3,1,FC03 Read Holding Registers,2040,0,10\n";
    const CommandTableRead read = ReadCommandTableCsv(table, 10);
    EXPECT_EQ(read.Errors,
              (QStringList{R"(row 3, column 5 (StartAddress): must be a whole number, not "x")",
                           "row 3, column 2 (NetId): ModBus Device Address Error. (1-247)",
                           "row 4, columns 4/6 (MemAddress/Length): Communication Length Greater "
                           "Than Internal Memory"}));
    EXPECT_TRUE(read.Commands.empty());
}

TEST(CommandTableCsv, ClassNames) {
    EXPECT_EQ(ClassIndexOfName("com2"), 1);
    EXPECT_EQ(ClassIndexOfName("Server4"), 5);
    EXPECT_EQ(ClassIndexOfName("0x67"), 2);
    EXPECT_EQ(ClassIndexOfName("0x6B"), std::nullopt);
}

}  // namespace
}  // namespace kv
