#include "config/EepromCodec.h"
#include "sim/ConsoleEmulator.h"
#include "sim/DemoImages.h"
#include "sim/EepromFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(ConsoleEmulatorTest, EachModelNamesItselfInTheMainPrompt) {
    const auto prompt = [](ControllerModel model) {
        ConsoleEmulator console(model);
        return Answer(console, "");
    };
    EXPECT_EQ(prompt(ControllerModel::Q5308RT), QByteArray("\r\nq5308RT>"));
    EXPECT_EQ(prompt(ControllerModel::VMar5308RtLan), QByteArray("\r\nvMAR-5308RT_LAN>"));
    EXPECT_EQ(prompt(ControllerModel::Klt400), QByteArray("\r\nKLT-400>"));
    EXPECT_EQ(ModelFromName("vMAR-5308RT_LAN"), ControllerModel::VMar5308RtLan);
    EXPECT_FALSE(ModelFromName("q5308rt").has_value());
}

TEST(ConsoleEmulatorTest, ReportsAndSetsTheEthernetSettings) {
    ConsoleEmulator console(ControllerModel::Klt400);
    EXPECT_EQ(Answer(console, "ip"), QByteArray("IP=192.168.255.1\r\n\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "mask"), QByteArray("MASK=255.255.255.0\r\n\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "gateway"), QByteArray("GATEWAY=192.168.0.1\r\n\r\nKLT-400>"));

    EXPECT_EQ(Answer(console, "ip 10.0.0.7"), QByteArray("\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "gateway 10.0.0.1"), QByteArray("\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "mask 255.0.0.0"), QByteArray("\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "ip"), QByteArray("IP=10.0.0.7\r\n\r\nKLT-400>"));
    EXPECT_EQ(console.Network.Gateway, "10.0.0.1");
    EXPECT_EQ(console.Network.Mask, "255.0.0.0");

    // A malformed address is refused and changes nothing.
    EXPECT_EQ(Answer(console, "ip 10.0.0.256"), QByteArray("Out of range\r\n\r\nKLT-400>"));
    EXPECT_EQ(Answer(console, "ip 10.0.0"), QByteArray("Out of range\r\n\r\nKLT-400>"));
    EXPECT_EQ(console.Network.Ip, "10.0.0.7");
}

TEST(ConsoleEmulatorTest, UnknownCommandsGetAnErrorLineAndTheCurrentPrompt) {
    ConsoleEmulator console;
    EXPECT_EQ(Answer(console, "hello"), QByteArray("Unknown command\r\n\r\nq5308RT>"));
    EXPECT_EQ(Answer(console, "block 1"), QByteArray("Unknown command\r\n\r\nq5308RT>"));
    Answer(console, "use eeprom");
    EXPECT_EQ(Answer(console, "ip"), QByteArray("Unknown command\r\n\r\nEEPROM block 0]"));
    EXPECT_EQ(Answer(console, "block 16"), QByteArray("Out of range\r\n\r\nEEPROM block 0]"));
    EXPECT_EQ(Answer(console, "e 256"), QByteArray("Out of range\r\n\r\nEEPROM block 0]"));
    Answer(console, "e 3");
    EXPECT_EQ(Answer(console, "300"), QByteArray("Out of range\r\n\r\nB(3)=0 -->"));
    EXPECT_EQ(Answer(console, "block 2"), QByteArray("Unknown command\r\n\r\nB(3)=0 -->"));
    EXPECT_EQ(console.Eeprom, EepromImage{});
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
    Answer(console, "0");   // the value it already held
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

TEST(ConsoleEmulatorTest, GoesSilentForGoodAfterTheGivenNumberOfLines) {
    ConsoleEmulator console;
    console.Faults.StopAfterLines = 2;
    EXPECT_FALSE(console.Feed("\r").isEmpty());
    EXPECT_FALSE(console.Feed("ip\r").isEmpty());
    EXPECT_TRUE(console.Feed("\r").isEmpty());
    EXPECT_TRUE(console.Feed("use eeprom\r").isEmpty());
    EXPECT_EQ(console.LinesReceived(), 4);
    EXPECT_EQ(console.Mode(), ConsoleMode::Main) << "a silent console acts on nothing";
}

TEST(ConsoleEmulatorTest, GarbledRepliesHoldNoPromptOrKey) {
    ConsoleEmulator console(ControllerModel::VMar5308RtLan);
    ConsoleEmulator twin(ControllerModel::VMar5308RtLan);
    console.Faults.GarbleAfterLines = 1;
    EXPECT_EQ(console.Feed("\r"), twin.Feed("\r"));
    for (const char* line : {"\r", "ip\r", "use eeprom\r", "e 16\r", "quit\r"}) {
        const QByteArray printed = console.Feed(line);
        EXPECT_EQ(printed.size(), twin.Feed(line).size()) << "junk replaces bytes one for one";
        for (const char* forbidden : {">", "]", "=", "5308", "\r"})
            EXPECT_FALSE(printed.contains(forbidden)) << printed.constData();
    }
}

TEST(ConsoleEmulatorTest, NeverQuietLineIsMarkedAfterItsAnswer) {
    ConsoleEmulator console;
    console.Faults.NeverQuietAfterLines = 1;
    bool endless = false;
    for (char byte : QByteArray("\r\r")) {
        const ConsoleOutput output = console.Receive(byte);
        if (console.LinesReceived() == 1) {
            EXPECT_FALSE(output.EndlessBlanks);
        }
        endless = output.EndlessBlanks;
    }
    EXPECT_TRUE(endless);
}

TEST(ConsoleEmulatorTest, ImagesCarryTheFactoryAndDemoContents) {
    GatewayConfig factory;
    eeprom::DecodeImage(FactoryImage(), factory);
    EXPECT_EQ(factory.ConfigMarker, 0);
    EXPECT_EQ(factory.DeviceNetParams.NodeId, 1);
    EXPECT_TRUE((factory.FirmwareInfo == FirmwareInfo{1, 3, 2009, 7, 15}));
    for (const SerialClassRecord& port : factory.SerialClasses) {
        EXPECT_EQ(port.Baud, 115200);
        EXPECT_EQ(port.DataBits, 8);
        EXPECT_EQ(port.Parity, 0);
        EXPECT_EQ(port.StopBits, 1);
    }
    // 0, 194, 1 (baud), 8, 0, 1 add up to 204.
    EXPECT_EQ(FactoryImage().Blocks[0][7], 204);
    EXPECT_EQ(FactoryImage().Blocks[0][23], 204);

    GatewayConfig demo;
    eeprom::DecodeImage(DemoImage(), demo);
    EXPECT_EQ(demo.ConfigMarker, 436);
    EXPECT_EQ(demo.SerialClasses[0].CmdCount, 3);
    EXPECT_EQ(demo.SerialClasses[1].ConnMode, 2);
    EXPECT_TRUE(demo.TcpClasses[2] == DemoConfig().TcpClasses[2]);
    EXPECT_TRUE((demo.FirmwareInfo == FirmwareInfo{1, 3, 2009, 7, 15}));

    GatewayConfig maximal;
    eeprom::DecodeImage(MaximalImage(), maximal);
    EXPECT_TRUE(maximal.SerialClasses == MaximalConfig().SerialClasses);
    EXPECT_TRUE(maximal.TcpClasses == MaximalConfig().TcpClasses);
}

// The simulator program keeps its EEPROM in a file through EepromChanged.
TEST(ConsoleEmulatorTest, EepromFileSurvivesARestartAndAlwaysHoldsAWholeImage) {
    QTemporaryDir folder;
    const QString path = folder.filePath("gateway.eeprom");
    QString error;
    ASSERT_TRUE(SaveEepromFile(path, DemoImage(), error)) << error.toStdString();

    {
        ConsoleEmulator console;
        console.Eeprom = *LoadEepromFile(path, error);
        console.EepromChanged = [&](const EepromImage& image) {
            ASSERT_TRUE(SaveEepromFile(path, image, error)) << error.toStdString();
        };
        console.Feed("use eeprom\rblock 9\re 200\r33\r44\r");
        const std::optional<EepromImage> duringEdit = LoadEepromFile(path, error);
        ASSERT_TRUE(duringEdit.has_value());
        EXPECT_EQ(*duringEdit, DemoImage()) << "an open edit is not written";
        console.Feed(".\r");
    }

    ConsoleEmulator restarted;
    restarted.Eeprom = *LoadEepromFile(path, error);
    EXPECT_TRUE(restarted.Feed("use eeprom\rblock 9\re 200\r").endsWith("\r\nB(200)=33 -->"));
    EXPECT_EQ(restarted.Eeprom.Blocks[9][201], 44);
    EXPECT_EQ(restarted.Eeprom.Blocks[1], DemoImage().Blocks[1]);
}

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
