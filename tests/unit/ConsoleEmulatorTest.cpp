// The console emulator behind the virtual gateway and kv9052r-gateway-sim: the EEPROM editing
// the write-back relies on, the EEPROM file the simulator program keeps, the line, and the
// simulator program's options.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sim/ConsoleEmulator.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"
#include "sim/SimOptions.h"
#include "support/SimulatedGateway.h"
#include "support/TestFiles.h"

namespace kv::sim {
namespace {

// Each line is echoed and answered with the prompt of where the console is now. An edit that
// changed a value is reported once it ends, with the whole EEPROM.
TEST(ConsoleEmulatorTest, EditsTheEepromByteByByte) {
    ConsoleEmulator console;
    console.Eeprom.Blocks[8][17] = 247;
    std::vector<EepromImage> reported;
    console.EepromChanged = [&](const EepromImage& image) { reported.push_back(image); };
    EXPECT_EQ(console.Feed("\r"), QByteArray("\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("quit\r\n"), QByteArray("quit\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("use eeprom\r"), QByteArray("use eeprom\r\n\r\nEEPROM block 0]"));
    EXPECT_EQ(console.Feed("block 8\r"), QByteArray("block 8\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed("e 16\r"), QByteArray("e 16\r\n\r\nB(16)=0 -->"));
    // A value is stored and the console moves on to the next address.
    EXPECT_EQ(console.Feed("12\r"), QByteArray("12\r\n\r\nB(17)=247 -->"));
    EXPECT_TRUE(reported.empty()) << "an edit still open is not a completed change";
    // "." returns to the block prompt, and stays there; the last address does the same.
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed(".\r"), QByteArray(".\r\n\r\nEEPROM block 8]"));
    EXPECT_EQ(console.Feed("e 255\r"), QByteArray("e 255\r\n\r\nB(255)=0 -->"));
    EXPECT_EQ(console.Feed("9\r"), QByteArray("9\r\n\r\nEEPROM block 8]"));
    // "quit" at the edit prompt returns to the main prompt; "use eeprom" starts at block 0. The
    // value an address already holds is no change.
    EXPECT_EQ(console.Feed("e 1\r0\r"), QByteArray("e 1\r\n\r\nB(1)=0 -->0\r\n\r\nB(2)=0 -->"));
    EXPECT_EQ(console.Feed("quit\r"), QByteArray("quit\r\n\r\nq5308RT>"));
    EXPECT_EQ(console.Feed("use eeprom\r"), QByteArray("use eeprom\r\n\r\nEEPROM block 0]"));
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].Blocks[8][16], 12);
    EXPECT_EQ(reported[1].Blocks[8][255], 9);
}

// The simulator program writing its EEPROM file: CliBackupTest, end to end.

TEST(ConsoleEmulatorTest, EepromFileOfTheWrongSizeIsRefused) {
    QTemporaryDir folder;
    const QString path = folder.filePath("cut.eeprom");
    ASSERT_TRUE(test::WriteAll(path, QByteArray(EepromFileBytes - 1, '\x07')));
    QString error;
    EXPECT_FALSE(LoadEepromFile(path, error).has_value());
    EXPECT_TRUE(error.contains("not an EEPROM image")) << error.toStdString();
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

// The simulator program's options.
ParsedSimOptions Parse(QStringList arguments) {
    arguments.prepend("kv9052r-gateway-sim");
    return ParseSimOptions(arguments);
}

TEST(SimOptionsTest, ReadsEveryOption) {
    // --eeprom, --demo and --stop-after: the end-to-end tests.
    const ParsedSimOptions parsed =
        Parse({"--model", "vMAR-5308RT_LAN", "--eeprom", "/tmp/e", "--demo", "--com", "16",
               "--latency-ms", "2.5", "--no-line-speed", "--stop-after", "40", "--garble",
               "--never-quiet"});
    ASSERT_TRUE(parsed.Options.has_value()) << parsed.Error.toStdString();
    const SimOptions& options = *parsed.Options;
    EXPECT_EQ(options.Model, ControllerModel::VMar5308RtLan);
    EXPECT_EQ(options.ComNumber, 16);
    EXPECT_EQ(options.Latency, std::chrono::microseconds(2500));
    EXPECT_FALSE(options.LineSpeed);
    EXPECT_EQ(options.Faults.GarbleAfterLines, 0);
    EXPECT_EQ(options.Faults.NeverQuietAfterLines, 0);
}

TEST(SimOptionsTest, RefusesWhatItCannotServe) {
    for (const QString wrong :
         {"--model q5308rt", "--com 0", "--com 17", "--com x", "--latency-ms -1",
          "--latency-ms nan", "--stop-after -2", "--demo --factory", "--colour", "stray"}) {
        const ParsedSimOptions parsed = Parse(wrong.split(' '));
        EXPECT_FALSE(parsed.Options.has_value()) << wrong.toStdString();
        EXPECT_FALSE(parsed.Error.isEmpty()) << wrong.toStdString();
    }
    EXPECT_TRUE(Parse({"--help"}).Help.contains("--never-quiet"));
}

}  // namespace
}  // namespace kv::sim
