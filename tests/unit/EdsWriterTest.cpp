// The EDS file: every line of the example configuration against a file written by hand,
// the default connection indices, the parameter defaults and the file's name and place.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "eds/DefaultConnectionIndex.h"
#include "eds/EdsFile.h"
#include "eds/EdsText.h"
#include "eds/IpTextToNumber.h"
#include "support/TestFiles.h"

namespace kv {
namespace {

const QDateTime Moment(QDate(2026, 3, 7), QTime(9, 5, 2));
const EdsInfoTexts Info{"Line 4 gateway", "J. Smith"};

ModbusCommand Command(uint8_t functionCode, int32_t length) {
    return {1, 1, functionCode, 0, 0, length};
}

// COM1 in RTU mode reading coils and holding registers and writing a register; Modbus TCP
// connection 0x67 reading discrete inputs.
GatewayConfig ExampleConfig() {
    GatewayConfig config;
    config.DeviceNetParams.NodeId = 5;
    config.FirmwareInfo = {1, 3};
    config.EthernetParams = {"192.168.255.1", "255.255.255.0", "192.168.0.1"};
    config.SerialClasses[0] = {0, 0, 0, 115200, 8, 0, 1};
    config.SerialClasses[1] = {0, 0, 0, 9600, 8, 1, 1};
    config.EditSerialClasses[0] = {1, 0, 3};
    config.EditSerialClasses[0].Commands = {Command(1, 10), Command(3, 4), Command(6, 2)};
    config.EditTcpClasses[0] = {1, {}, 0, 0, 0, 1, {Command(2, 16)}};
    return config;
}

const ConnectionPaths ExamplePaths{{0x67, 1, 0x0A}, {0x65, 3, 0x0D}};

QStringList LinesOf(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends in CR LF too";
    return lines;
}

QStringList ExpectedLines(const QString& name) {
    const QByteArray text = test::ReadAll(QStringLiteral(KV_TEST_DATA_DIR "/") + name);
    EXPECT_FALSE(text.isEmpty()) << name.toStdString();
    return QString::fromLatin1(text).split(u'\n').mid(0, text.count('\n'));
}

int CountLinesStartingWith(const QStringList& lines, const QString& start) {
    return int(lines.filter(QRegularExpression('^' + start)).size());
}

TEST(EdsWriterTest, ExampleConfigurationGivesTheHandWrittenFileLineByLine) {
    const QString text = EdsText(ExampleConfig(), ExamplePaths, Info, Moment);
    EXPECT_FALSE(text.contains(QRegularExpression("[^\r]\n"))) << "every line ends in CR LF";
    const QStringList actual = LinesOf(text);
    const QStringList expected = ExpectedLines("KV-9052R_example.eds");
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}

TEST(EdsWriterTest, DefaultIndicesCountTheEntriesOfTheirDirection) {
    const GatewayConfig config = ExampleConfig();
    EXPECT_EQ(DefaultConnectionIndex(config, {0x67, 1, 0x0A}, PollDirection::Produced), 6);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x65, 2, 0x0D}, PollDirection::Produced), 5);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x65, 3, 0x0D}, PollDirection::Consumed), 4);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x64, 1, 2}, PollDirection::Produced), 2);
    // A command of the other direction gives the last counted entry before it.
    EXPECT_EQ(DefaultConnectionIndex(config, {0x65, 3, 0x0D}, PollDirection::Produced), 5);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x65, 1, 0x0B}, PollDirection::Consumed), 3);
    // Instances or classes not in use, and classes no list offers.
    EXPECT_EQ(DefaultConnectionIndex(config, {0x65, 4, 0x0D}, PollDirection::Produced), 1);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x68, 1, 0x0A}, PollDirection::Produced), 1);
    EXPECT_EQ(DefaultConnectionIndex(config, {0x00, 0, 0}, PollDirection::Produced), 1);
}

// COM1 and connection 0x67 not in use; COM2's ten commands read 1 bit, 1920 bits, write
// registers and read 120 registers; connection 0x6A holds a count above its slots.
TEST(EdsWriterTest, EntriesFollowTheClassesInUseTheirSlotsAndSizes) {
    GatewayConfig config = ExampleConfig();
    config.EditSerialClasses[0].ConnMode = 0;
    config.EditTcpClasses[0].ConnValid = 0;
    SerialClassRecord& com2 = config.EditSerialClasses[1];
    com2 = {2, 0, 10};
    com2.Commands.fill(Command(16, 1));
    com2.Commands[9] = Command(4, 120);
    com2.Commands[0] = Command(2, 1);
    com2.Commands[1] = Command(1, 1920);
    config.EditTcpClasses[3] = {1, {}, 0, 0, 0, 200};
    config.EditTcpClasses[3].Commands.fill(Command(5, 8));
    const QStringList lines =
        LinesOf(EdsText(config, {{0x64, 1, 2}, {0x65, 3, 0x0D}}, Info, Moment));
    EXPECT_EQ(CountLinesStartingWith(lines, "            Input"), 3 + 3);
    EXPECT_EQ(CountLinesStartingWith(lines, "            Output"), 3 + 7 + 5);
    EXPECT_EQ(CountLinesStartingWith(lines, "            Param"), 11);
    EXPECT_EQ(CountLinesStartingWith(lines, "            Enum"), 2);
    EXPECT_TRUE(lines.contains("                      2,  $ Default Input = Input2"));
    EXPECT_TRUE(lines.contains("                      1;  $ Default Ouput = Output1"));
    const int input4 = int(lines.indexOf("            Input4 = "));
    ASSERT_GT(input4, 0);
    EXPECT_EQ(lines[input4 + 1], "                   1,               $ bytes of DI data");
    EXPECT_EQ(lines[input4 + 10], "                   240,               $ bytes of DO data");
    EXPECT_EQ(lines[input4 + 19], "                   240,               $ bytes of AI data");
    EXPECT_EQ(lines[input4 + 24], "                   \"20 66 24 0A 30 0C\",");
    EXPECT_EQ(lines[input4 + 25], "                   \"Application (0x66), Instance (0x0A)\";");
}

TEST(EdsWriterTest, UserTextsStayOnTheirCommentLines) {
    const QStringList lines =
        LinesOf(EdsText(ExampleConfig(), ExamplePaths, {"two\r\n[Device]", "me\nyou"}, Moment));
    EXPECT_EQ(lines[1], "$ File Description Section : two  [Device]");
    EXPECT_EQ(lines[2], "$ Created by : me you");
}

// Empty or non-numeric parts give 0 as well, instead of failing a save.
TEST(EdsWriterTest, IpTextOfAnyOtherShapeIsZero) {
    for (const char* text :
         {"", "300.1.1.1", "1.2.3", "1.2.3.4.5", "1..2.3", "1.a.2.3", "1.-2.2.3"})
        EXPECT_EQ(IpTextToNumber(text), 0u) << text;
}

// The file is named by the node ID and written into the first folder that takes it; a
// failure in every folder: SaveWindowTest.
TEST(EdsWriterTest, FileIsNamedByNodeIdAndGoesToTheFirstWritableFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(test::WriteAll(folder.filePath("not-a-folder"), "a file"));
    const QStringList folders{folder.filePath("not-a-folder/sub"), folder.path()};
    const EdsFileResult result = WriteEdsFile(folders, ExampleConfig(), ExamplePaths, Info, Moment);
    ASSERT_TRUE(result.Ok) << result.ErrorText.toStdString();
    EXPECT_EQ(result.Path, QDir::toNativeSeparators(folder.filePath("KV-9052R_ 5.eds")));
    EXPECT_TRUE(QFile::exists(result.Path));

    const QString blocked = folder.filePath("blocked/KV-9052R_ 5.eds");
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_EQ(WriteEdsFile({folder.filePath("blocked")}, ExampleConfig(), {}, Info).ErrorText,
              blocked + ": is not a regular file");
}

}  // namespace
}  // namespace kv
