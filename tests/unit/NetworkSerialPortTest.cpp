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
    struct Step {
        QByteArray FromServer, Data, Answers;
        State Progress;
    };
    for (const Step& step : std::initializer_list<Step>{
             {"\xff\xfb\x03\xff\xfd\x03\xff\xfb\x01\xff\xfd\x18\xff\xfd\x00\xff\xfb\x00\xff\xfd,"_b,
              "", "\xff\xfd\x03\xff\xfb\x03\xff\xfe\x01\xff\xfc\x18"_b + SetLine,
              State::Negotiating},
             {"a\xff\xff\x62\xff\xf1\x63\r\n\xff\xfa,k\x00\xff\xf0\xff"_b, "a\xff\x62\x63\r\n", "",
              State::Negotiating},
             {"\xff\x64\xff\xfa,e\x00\x01\xc2\x00\xff\xf0\xff\xfa,f\x08\xff\xf0\xff\xfa,g\x01\xff"
              "\xf0\xff\xfa,h\x01\xff\xf0"_b,
              "\xff\x64", "", State::Agreed},
         }) {
        EXPECT_EQ(telnet.Decode(step.FromServer), step.Data);
        EXPECT_EQ(telnet.TakeAnswers(), step.Answers);
        EXPECT_EQ(telnet.Progress(), step.Progress);
    }
    EXPECT_EQ(telnet.Encode("a\xff\r"), "a\xff\xff\r");
    for (const auto& [answer, progress] :
         {std::pair{"\xff\xfa,f\x07\xff\xf0"_b, State::SettingsRefused},
          std::pair{"\xff\xfe,"_b, State::OptionRefused}}) {
        TelnetComPortControl refusing;
        refusing.Decode(answer);
        EXPECT_EQ(refusing.Progress(), progress);
    }
}

// A server on a port of its own: it reads the client's first `readFirst` bytes, sends
// `answer`, then hangs up or keeps what the client sends until the client goes.
std::future<QByteArray> Serve(const QByteArray& answer, qsizetype readFirst, bool hangUp,
                              quint16& port) {
    std::promise<quint16> listening;
    auto portKnown = listening.get_future();
    auto received = std::async(std::launch::async, [=, &listening] {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        listening.set_value(server.serverPort());
        if (!server.waitForNewConnection(5000)) return "no client"_b;
        QTcpSocket* client = server.nextPendingConnection();
        QByteArray got;
        // Waiting to write reads too: what came meanwhile is taken first.
        const auto more = [&] {
            const bool arrived = client->bytesAvailable() > 0 || client->waitForReadyRead(5000);
            got += client->readAll();
            return arrived;
        };
        while (got.size() < readFirst && more()) continue;
        client->write(answer);
        client->waitForBytesWritten(1000);
        while (!hangUp && more()) continue;
        return got;
    });
    port = portKnown.get();
    return received;
}

TEST(NetworkSerialPort, SaysWhyItDidNotOpenOrWasLostAndSendsTheConsoleNothingFirst) {
    test::EnsureCoreApplication();
    struct Case {
        NetworkProtocol Protocol;
        QByteArray Answer;
        qsizetype ReadFirst;
        bool HangUp;
        QString Message;
        QByteArray Received;
    };
    for (const Case& c : std::initializer_list<Case>{
             {NetworkProtocol::Rfc2217, "\xff\xfe,", 0, false,
              "The server at 127.0.0.1:%1 refused the COM port control (RFC 2217); for a raw TCP "
              "port use socket://127.0.0.1:%1.",
              Opening},
             {NetworkProtocol::Rfc2217, "\xff\xfd,\xff\xfa,e\x00\x00\x25\x80\xff\xf0"_b, 0, false,
              "The server at 127.0.0.1:%1 refused the line settings 115200 bit/s, 8 data bits, no "
              "parity, 1 stop bit.",
              Opening + SetLine},
             {NetworkProtocol::Rfc2217, "Port's device already in use\r\n", 9, true,
              "The server at 127.0.0.1:%1 closed the connection while the line was being set: "
              "Port's device already in use.",
              Opening},
             {NetworkProtocol::RawTcp, "ok\xff", 0, true,
              "The connection to the gateway at 127.0.0.1:%1 was lost: The remote host closed "
              "the connection.",
              ""},
         }) {
        quint16 port = 0;
        auto received = Serve(c.Answer, c.ReadFirst, c.HangUp, port);
        NetworkSerialPort network({c.Protocol, QStringLiteral("127.0.0.1"), port});
        const PortOpenResult opened = network.Open();
        while (opened.ok() && network.LostReason().isEmpty())
            network.WaitForData(std::chrono::seconds(1));
        EXPECT_EQ(network.ReadAll(), opened.ok() ? "ok\xff" : "");
        EXPECT_EQ(opened.ok() ? network.LostReason() : opened.Text, c.Message.arg(port));
        network.Close();
        EXPECT_EQ(received.get(), c.Received);
    }
    QTcpServer gone;
    gone.listen(QHostAddress::LocalHost);
    const quint16 closed = gone.serverPort();
    gone.close();
    NetworkSerialPort refused({NetworkProtocol::RawTcp, QStringLiteral("127.0.0.1"), closed});
    EXPECT_EQ(refused.Open().Text,
              QStringLiteral("Can't reach the gateway at 127.0.0.1:%1: the connection was refused "
                             "(is the serial port server running and is %1 its port?).")
                  .arg(closed));
}

}  // namespace
}  // namespace kv
