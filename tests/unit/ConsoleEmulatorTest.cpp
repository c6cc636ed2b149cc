// The console emulator behind the virtual gateway and kv9052r-gateway-sim: the EEPROM editing
// the write-back relies on, the EEPROM file the simulator program keeps, and the line.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sim/ConsoleEmulator.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv::sim {
namespace {

TEST(ConsoleEmulatorTest, EchoesEachCharacterAndEndsTheLineWithItsPrompt) {
    ConsoleEmulator console;
    EXPECT_EQ(console.Feed("\r"), QByteArray("\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("quit\r\n"), QByteArray("quit\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.ReceivedLines(), (QStringList{"", "quit", "."}));
}

TEST(ConsoleEmulatorTest, EditsTheEepromByteByByte) {
    ConsoleEmulator console;
    console.Eeprom.Blocks[8][17] = 247;
    EXPECT_EQ(console.Feed("use eeprom\r"), QByteArray("use eeprom\r\n\r\nEEPROM block 0]"));
    EXPECT_EQ(console.Feed("block 8\r"), QByteArray("block 8\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed("e 16\r"), QByteArray("e 16\r\n\r\nB(16)=0 -->"));
    // A value is stored and the console moves on to the next address.
    EXPECT_EQ(console.Feed("12\r"), QByteArray("12\r\n\r\nB(17)=247 -->"));
    // "." returns to the block prompt, and stays there; the last address does the same.
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed("e 255\r"), QByteArray("e 255\r\n\r\nB(255)=0 -->"));
    EXPECT_EQ(console.Feed("9\r"), QByteArray("9\r\n\r\nEEPROM block 8]"));
    // "quit" at the edit prompt returns to the main prompt; "use eeprom" starts at block 0.
    EXPECT_EQ(console.Feed("e 1\r"), QByteArray("e 1\r\n\r\nB(1)=0 -->"));
    EXPECT_EQ(console.Feed("quit\r"), QByteArray("quit\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("use eeprom\r"), QByteArray("use eeprom\r\n\r\nEEPROM block 0]"));
    EXPECT_EQ(console.Eeprom.Blocks[8][16], 12);
    EXPECT_EQ(console.Eeprom.Blocks[8][255], 9);
}

TEST(ConsoleEmulatorTest, ReportsEachCompletedEditOnceAndOnlyWhenSomethingChanged) {
    ConsoleEmulator console;
    std::vector<EepromImage> committed;
    console.EepromChanged = [&](const EepromImage& image) { committed.push_back(image); };
    console.Feed("use eeprom\re 0\r0\r.\r");  // 0: the value it already held
    EXPECT_TRUE(committed.empty());

    console.Feed("e 0\r5\r6\r");
    EXPECT_TRUE(committed.empty()) << "an edit still open is not a completed change";
    console.Feed("quit\r");
    ASSERT_EQ(committed.size(), 1u);
    EXPECT_EQ(committed[0].Blocks[0][0], 5);
    EXPECT_EQ(committed[0].Blocks[0][1], 6);
}

// The simulator program writing its EEPROM file: CliBackupTest, end to end.

TEST(ConsoleEmulatorTest, EepromFileOfTheWrongSizeIsRefused) {
    QTemporaryDir folder;
    const QString path = folder.filePath("cut.eeprom");
    ASSERT_TRUE(test::WriteAll(path, QByteArray(EepromFileBytes - 1, '\x07')));
    QString error;
    EXPECT_FALSE(LoadEepromFile(path, error).has_value());
    EXPECT_TRUE(error.contains("not an EEPROM image")) << error.toStdString();
    EXPECT_FALSE(LoadEepromFile(folder.filePath("missing"), error).has_value());
    EXPECT_FALSE(SaveEepromFile(folder.filePath("no/such/folder/x"), FactoryImage(), error));
    EXPECT_TRUE(error.startsWith("Cannot write")) << error.toStdString();
}

// The virtual gateway the other tests lean on: bytes take line time to arrive, and a read
// only gets what has arrived.
TEST(SimulatedGateway, ReadAllDeliversOnlyWhatHasArrived) {
    test::SimulatedGateway gateway;
    ASSERT_TRUE(gateway.Port.Open().ok());
    gateway.Port.Write("ip\r");
    gateway.Clock.Advance(std::chrono::microseconds(1500));
    const QByteArray first = gateway.Port.ReadAll();
    EXPECT_TRUE(first.startsWith("ip\r\n"));
    EXPECT_FALSE(first.contains('>'));
    gateway.Clock.Advance(std::chrono::milliseconds(10));
    EXPECT_EQ(first + gateway.Port.ReadAll(), QByteArray("ip\r\nIP=192.168.255.1\r\n\r\nq5308RT>"));
    EXPECT_EQ(gateway.LinesReceived(), QStringList{"ip"});
}

}  // namespace
}  // namespace kv::sim
