// The console emulator behind the virtual gateway and kv9052r-gateway-sim: the EEPROM editing
// the write-back relies on, and the EEPROM file the simulator program keeps.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "sim/ConsoleEmulator.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"

namespace kv::sim {
namespace {

// The console's answer to one line, without the echo of the line itself.
QByteArray Answer(ConsoleEmulator& console, const QByteArray& line) {
    QByteArray answer;
    for (char byte : line + '\r') {
        const ConsoleOutput output = console.Receive(byte);
        answer += output.Answer;
    }
    return answer;
}

TEST(ConsoleEmulatorTest, EchoesEachCharacterAndEndsTheLineWithItsPrompt) {
    ConsoleEmulator console;
    EXPECT_EQ(console.Feed("\r"), QByteArray("\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("quit\r\n"), QByteArray("quit\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.ReceivedLines(), (QStringList{"", "quit", "."}));
}

TEST(ConsoleEmulatorTest, EditsTheEepromByteByByte) {
    ConsoleEmulator console;
    console.Eeprom.Blocks[8][16] = 1;
    console.Eeprom.Blocks[8][17] = 247;
    EXPECT_EQ(Answer(console, "use eeprom"), QByteArray("\r\nEEPROM block 0]"));
    EXPECT_EQ(Answer(console, "block 8"), QByteArray("\r\nEEPROM block 8]"));
    EXPECT_EQ(Answer(console, "e 16"), QByteArray("\r\nB(16)=1 -->"));
    // A value is stored and the console moves on to the next address.
    EXPECT_EQ(Answer(console, "12"), QByteArray("\r\nB(17)=247 -->"));
    EXPECT_EQ(Answer(console, "0"), QByteArray("\r\nB(18)=0 -->"));
    // "e" at the edit prompt moves elsewhere; "." returns to the block prompt.
    EXPECT_EQ(Answer(console, "e 1"), QByteArray("\r\nB(1)=0 -->"));
    EXPECT_EQ(Answer(console, "."), QByteArray("\r\nEEPROM block 8]"));
    EXPECT_EQ(Answer(console, "."), QByteArray("\r\nEEPROM block 8]"));
    EXPECT_EQ(Answer(console, "quit"), QByteArray("\r\nq5308RT>"));
    EXPECT_EQ(console.Eeprom.Blocks[8][16], 12);
    EXPECT_EQ(console.Eeprom.Blocks[8][17], 0);
    EXPECT_EQ(console.Mode(), ConsoleMode::Main);
}

TEST(ConsoleEmulatorTest, TheValueForTheLastAddressReturnsToTheBlockPrompt) {
    ConsoleEmulator console;
    Answer(console, "use eeprom");
    Answer(console, "block 11");
    EXPECT_EQ(Answer(console, "e 254"), QByteArray("\r\nB(254)=0 -->"));
    EXPECT_EQ(Answer(console, "7"), QByteArray("\r\nB(255)=0 -->"));
    EXPECT_EQ(Answer(console, "9"), QByteArray("\r\nEEPROM block 11]"));
    EXPECT_EQ(console.Eeprom.Blocks[11][255], 9);
    EXPECT_EQ(console.Mode(), ConsoleMode::Block);
    // "use eeprom" starts again at block 0.
    Answer(console, "quit");
    EXPECT_EQ(Answer(console, "use eeprom"), QByteArray("\r\nEEPROM block 0]"));
}

TEST(ConsoleEmulatorTest, ReportsEachCompletedEditOnceAndOnlyWhenSomethingChanged) {
    ConsoleEmulator console;
    std::vector<EepromImage> committed;
    console.EepromChanged = [&](const EepromImage& image) { committed.push_back(image); };
    Answer(console, "use eeprom");
    Answer(console, "e 0");
    Answer(console, "0");  // the value it already held
    Answer(console, ".");
    EXPECT_TRUE(committed.empty());

    Answer(console, "e 0");
    Answer(console, "5");
    Answer(console, "6");
    EXPECT_TRUE(committed.empty()) << "an edit still open is not a completed change";
    Answer(console, "quit");
    ASSERT_EQ(committed.size(), 1u);
    EXPECT_EQ(committed[0].Blocks[0][0], 5);
    EXPECT_EQ(committed[0].Blocks[0][1], 6);
}

// Keeping the EEPROM file across a restart: GatewaySimProgramTest, end to end.

TEST(ConsoleEmulatorTest, EepromFileOfTheWrongSizeIsRefused) {
    QTemporaryDir folder;
    const QString path = folder.filePath("cut.eeprom");
    QFile cut(path);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(QByteArray(EepromFileBytes - 1, '\x07'));
    cut.close();
    QString error;
    EXPECT_FALSE(LoadEepromFile(path, error).has_value());
    EXPECT_TRUE(error.contains("not an EEPROM image")) << error.toStdString();
    EXPECT_FALSE(LoadEepromFile(folder.filePath("missing"), error).has_value());
    EXPECT_FALSE(SaveEepromFile(folder.filePath("no/such/folder/x"), FactoryImage(), error));
    EXPECT_TRUE(error.startsWith("Cannot write")) << error.toStdString();
}

}  // namespace
}  // namespace kv::sim
