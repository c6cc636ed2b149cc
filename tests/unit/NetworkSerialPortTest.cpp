// The network port's telnet side as bytes, and its messages against a server the test plays.

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <future>

#include "platform/NetworkSerialPort.h"
#include "platform/TelnetComPortControl.h"
#include "support/CoreApplication.h"

namespace kv {
namespace {

using State = TelnetComPortControl::State;
QByteArray operator""_b(const char* bytes, std::size_t size) { return {bytes, qsizetype(size)}; }
const QByteArray Opening = "\xff\xfb,\xff\xfb\x00\xff\xfd\x00"_b;
const QByteArray SetLine =
    "\xff\xfa,\x01\x00\x01\xc2\x00\xff\xf0\xff\xfa,\x02\x08\xff\xf0\xff\xfa,\x03\x01\xff\xf0"
    "\xff\xfa,\x04\x01\xff\xf0"_b;

TEST(TelnetComPortControl, AnswersOptionsSetsTheLineAndCarriesTheConsolesBytes) {
    EXPECT_EQ(TelnetComPortControl::Opening(), Opening);
    TelnetComPortControl telnet;
    EXPECT_EQ(telnet.Encode("a\r"), "a\r\0"_b) << "CR NUL outside binary mode";
    // ser2net's opening, and a terminal type asked for: go-ahead suppressed both ways, echo and
    // terminal type refused, binary both ways, and the line set when the option is taken.
    EXPECT_EQ(telnet.Decode("\xff\xfb\x03\xff\xfd\x03\xff\xfb\x01\xff\xfd\x18\xff\xfd\x00\xff\xfb"
                            "\x00\xff\xfd,"_b),
              "");
    EXPECT_EQ(telnet.TakeAnswers(), "\xff\xfd\x03\xff\xfb\x03\xff\xfe\x01\xff\xfc\x18"_b + SetLine);
    // IAC IAC is a 0xFF of the console's, also across two reads; NOP and notices are left out.
    EXPECT_EQ(telnet.Decode("a\xff\xff\x62\xff\xf1\x63\r\n\xff\xfa,k\x00\xff\xf0\xff"_b),
              "a\xff\x62\x63\r\n");
    EXPECT_EQ(telnet.Progress(), State::Negotiating);
    EXPECT_EQ(telnet.Decode("\xff\x64\xff\xfa,e\x00\x01\xc2\x00\xff\xf0\xff\xfa,f\x08\xff\xf0\xff"
                            "\xfa,g\x01\xff\xf0\xff\xfa,h\x01\xff\xf0"_b),
              "\xff\x64");
    EXPECT_EQ(telnet.Progress(), State::Agreed);
    EXPECT_EQ(telnet.Encode("a\xff\r"), "a\xff\xff\r");
    // An option already in force is not answered again, so that nothing can loop; binary
    // turned off by the server is agreed to once.
    telnet.Decode("\xff\xfb\x03\xff\xfd\x03\xff\xfb\x00\xff\xfc\x00\xff\xfc\x00"_b);
    EXPECT_EQ(telnet.TakeAnswers(), "\xff\xfe\x00"_b);
    TelnetComPortControl refusing;
    refusing.Decode("\xff\xfa,f\x07\xff\xf0"_b);
    EXPECT_EQ(refusing.Progress(), State::SettingsRefused) << "7 data bits";
}

// A server that refuses the COM port control, on a port of its own; it keeps what the client
// sends until the client goes.
TEST(NetworkSerialPort, AServerThatRefusesTheOptionIsToldAndTheConsoleGetsNothing) {
    test::EnsureCoreApplication();
    std::promise<quint16> listening;
    auto received = std::async(std::launch::async, [&listening] {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        listening.set_value(server.serverPort());
        QByteArray got;
        if (!server.waitForNewConnection(5000)) return got;
        QTcpSocket* client = server.nextPendingConnection();
        client->write("\xff\xfe,");
        // Waiting to write reads too: what came meanwhile is taken first.
        for (client->waitForBytesWritten(1000);
             client->bytesAvailable() > 0 || client->waitForReadyRead(5000);)
            got += client->readAll();
        return got;
    });
    const quint16 port = listening.get_future().get();
    NetworkSerialPort network({NetworkProtocol::Rfc2217, QStringLiteral("127.0.0.1"), port});
    EXPECT_EQ(network.Open().Text,
              QStringLiteral("The server at 127.0.0.1:%1 refused the COM port control (RFC 2217); "
                             "for a raw TCP port use socket://127.0.0.1:%1.")
                  .arg(port));
    network.Close();
    EXPECT_EQ(received.get(), Opening);
}

}  // namespace
}  // namespace kv
