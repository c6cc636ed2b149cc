// kv9052r-gateway-sim as a user runs it: a pseudo-terminal published as COM n, reached
// through QSerialPort, opened and closed again and again, its EEPROM kept in a file.

#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "platform/PortNaming.h"
#include "platform/QtEventPump.h"
#include "platform/QtSerialPort.h"
#include "platform/SteadyClock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kv {
namespace {

class GatewaySimProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
    }

    GatewaySimProgram() { qputenv("KV9052R_PORT_DIR", QFile::encodeName(folder.path())); }
    ~GatewaySimProgram() override {
        Stop();
        qunsetenv("KV9052R_PORT_DIR");
    }

    // Starts the simulator and waits for it to say where it listens.
    void Start(const QStringList& arguments) {
        simulator.setProgram(QStringLiteral(KV_BIN_DIR "/kv9052r-gateway-sim"));
        simulator.setArguments(arguments);
        simulator.start();
        ASSERT_TRUE(simulator.waitForStarted(5000));
        while (!simulator.canReadLine()) {
            ASSERT_TRUE(simulator.waitForReadyRead(5000))
                << simulator.readAllStandardError().data();
        }
        const QString line = QString::fromLocal8Bit(simulator.readLine()).trimmed();
        static const QRegularExpression listening(R"(^Listening on (/dev/\S+) \(COM \d+\)$)");
        const auto match = listening.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        device = match.captured(1);
    }

    void Stop() {
        if (simulator.state() == QProcess::NotRunning)
            return;
        simulator.terminate();
        EXPECT_TRUE(simulator.waitForFinished(5000));
        EXPECT_EQ(simulator.exitCode(), 0) << simulator.readAllStandardError().data();
    }

    QTemporaryDir folder;
    QProcess simulator;
    QString device;
    QtSerialPort port;
    SteadyClock clock;
    QtEventPump pump;
    ConsoleLink link{port, clock, pump};
};

TEST_F(GatewaySimProgram, ServesOneClientAfterAnotherOnItsComPort) {
    Start({"--com", "7", "--model", "KLT-400", "--demo"});
    EXPECT_EQ(QFileInfo(ComLinkPath(7)).symLinkTarget(), device);
    port.SelectPort(7);
    for (int client = 0; client < 3; ++client) {
        ASSERT_TRUE(port.Open().ok()) << "client " << client;
        GatewayConfig config;
        EXPECT_EQ(ReadGateway(link, config, [](int) {}), ReadOutResult::Ok) << "client " << client;
        EXPECT_EQ(link.ControllerPrompt, "KLT-400>");
        EXPECT_EQ(config.ConfigMarker, ConfigMarkerValid);
        port.Close();
    }
    Stop();
    EXPECT_FALSE(QFileInfo(ComLinkPath(7)).isSymLink()) << "the link goes with the gateway";
}

TEST_F(GatewaySimProgram, KeepsItsEepromAcrossARestart) {
    const QString eeprom = folder.filePath("gateway.eeprom");
    const QStringList arguments = {"--com", "3", "--eeprom", eeprom, "--no-line-speed"};
    Start(arguments);
    port.SelectPort(3);
    ASSERT_TRUE(port.Open().ok());
    uint8_t value = 0;
    ASSERT_TRUE(RecoverConsole(link));
    ASSERT_TRUE(link.SendCommand("use eeprom", "]"));
    ASSERT_TRUE(link.SendCommand("block 8", "]"));
    ASSERT_TRUE(link.ReadConsoleByte("e 40", "B(40)=", value));
    ASSERT_TRUE(link.ReadConsoleByte("123", "B(41)=", value));
    ASSERT_TRUE(link.SendCommand(".", "]"));
    ASSERT_TRUE(link.SendCommand("quit", ">"));
    port.Close();
    Stop();

    Start(arguments);
    ASSERT_TRUE(port.Open().ok());
    ASSERT_TRUE(RecoverConsole(link));
    ASSERT_TRUE(link.SendCommand("use eeprom", "]"));
    ASSERT_TRUE(link.SendCommand("block 8", "]"));
    ASSERT_TRUE(link.ReadConsoleByte("e 40", "B(40)=", value));
    EXPECT_EQ(value, 123);
    ASSERT_TRUE(link.SendCommand(".", "]"));
    port.Close();
}

}  // namespace
}  // namespace kv
