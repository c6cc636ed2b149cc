// The network port's telnet side as bytes, and its messages against a server the test plays.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

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
// The server takes the option, and answers the line as asked.
const QByteArray TakesTheOption = "\xff\xfd,"_b;
const QByteArray LineSet =
    "\xff\xfa,e\x00\x01\xc2\x00\xff\xf0\xff\xfa,f\x08\xff\xf0\xff\xfa,g\x01\xff\xf0\xff\xfa,h\x01"
    "\xff\xf0"_b;
const QByteArray Baud9600 = "\xff\xfa,e\x00\x00\x25\x80\xff\xf0"_b;

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
    EXPECT_EQ(telnet.Decode("\xff\x64"_b + LineSet), "\xff\x64");
    EXPECT_EQ(telnet.Progress(), State::Agreed);
    EXPECT_EQ(telnet.Encode("a\xff\r"), "a\xff\xff\r");
    // An option already in force is not answered again, so that nothing can loop; binary
    // turned off by the server is agreed to once.
    telnet.Decode("\xff\xfb\x03\xff\xfd\x03\xff\xfb\x00\xff\xfc\x00\xff\xfc\x00"_b);
    EXPECT_EQ(telnet.TakeAnswers(), "\xff\xfe\x00"_b);
}

// Line settings count once the server has taken the option; changed later, or the option
// refused, they end the agreement, with the setting the server made.
TEST(TelnetComPortControl, TheLineIsAgreedOnlyOnceTheServerTookTheOptionAndWhileItKeepsIt) {
    const struct {
        QByteArray FromServer;
        State Progress;
        QString ServerSetting;
    } rows[] = {
        {LineSet, State::Negotiating, ""},
        {LineSet + TakesTheOption, State::Negotiating, ""},
        {TakesTheOption + LineSet + LineSet, State::Agreed, ""},
        {TakesTheOption + "\xff\xfa,f\x07\xff\xf0"_b, State::SettingsRefused, "7 data bits"},
        {TakesTheOption + LineSet + Baud9600, State::LineChanged, "9600 bit/s"},
        {TakesTheOption + LineSet + "\xff\xfa,g\x03\xff\xf0"_b, State::LineChanged, "even parity"},
        {TakesTheOption + LineSet + "\xff\xfe,"_b, State::OptionRefused, ""},
    };
    for (const auto& row : rows) {
        TelnetComPortControl telnet;
        telnet.Decode(row.FromServer);
        EXPECT_EQ(telnet.Progress(), row.Progress) << row.FromServer.toHex().data();
        EXPECT_EQ(telnet.ServerSetting(), row.ServerSetting);
    }
}

// What the test's server does once it has sent its opening bytes.
enum class Then { KeepsWhatComes, SendsLaterOnConsoleData, Floods, ResetsOnData };

// A server on a port of its own for one connection, in a thread of its own; returns what the
// client sent, when it keeps it.
std::future<QByteArray> Serve(const QByteArray& opening, Then then, const QByteArray& later,
                              quint16& port) {
    std::promise<quint16> listening;
    std::future<quint16> listened = listening.get_future();
    auto served = std::async(std::launch::async, [=, listening = std::move(listening)]() mutable {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        listening.set_value(server.serverPort());
        QByteArray got;
        if (!server.waitForNewConnection(5000)) return got;
        QTcpSocket* client = server.nextPendingConnection();
        const int descriptor = int(client->socketDescriptor());
        pollfd watched{descriptor, POLLIN, 0};
        if (then == Then::ResetsOnData) {
            // Closed with the client's bytes unread, the connection is reset.
            poll(&watched, 1, 5000);
            client->abort();
            return got;
        }
        // Requests sent as fast as the system takes them; the answers are never read.
        for (watched.events = POLLOUT; then == Then::Floods && poll(&watched, 1, 5000) > 0 &&
                                       (watched.revents & (POLLERR | POLLHUP)) == 0;)
            send(descriptor, opening.constData(), size_t(opening.size()), MSG_NOSIGNAL);
        if (then == Then::Floods) return got;
        client->write(opening);
        // Waiting to write reads too: what came meanwhile is taken first.
        for (client->waitForBytesWritten(1000);
             client->bytesAvailable() > 0 || client->waitForReadyRead(5000);) {
            got += client->readAll();
            if (then == Then::SendsLaterOnConsoleData && got.endsWith('x')) {
                client->write(later);
                client->waitForBytesWritten(1000);
            }
        }
        return got;
    });
    port = listened.get();
    return served;
}

// The server's words end the open, or the operation once the line is set, with a message
// naming what it did. The console gets nothing before the line is set.
TEST(NetworkSerialPort, WhatTheServerDidEndsTheOpenOrTheOperationWithAMessage) {
    test::EnsureCoreApplication();
    const QString changed = QStringLiteral(
        "The server at 127.0.0.1:%1 changed the line to 9600 bit/s; the console takes 115200 "
        "bit/s, 8 data bits, no parity, 1 stop bit, so the connection was ended.");
    const struct {
        NetworkProtocol Protocol;
        QByteArray Opening;
        Then Next;
        QByteArray Later;
        QString OpenFailure;
        QString Lost;
        QByteArray Received;  // empty: not kept
    } rows[] = {
        {NetworkProtocol::Rfc2217, "\xff\xfe,"_b, Then::KeepsWhatComes, "",
         "The server at 127.0.0.1:%1 refused the COM port control (RFC 2217); for a raw TCP port "
         "use socket://127.0.0.1:%1.",
         "", Opening},
        {NetworkProtocol::Rfc2217, TakesTheOption + LineSet, Then::SendsLaterOnConsoleData,
         Baud9600, "", changed, Opening + SetLine + "x"},
        {NetworkProtocol::Rfc2217, TakesTheOption + LineSet, Then::SendsLaterOnConsoleData,
         "\xff\xfe,"_b, "",
         "The server at 127.0.0.1:%1 gave up the COM port control (RFC 2217) while the port was "
         "in use; the connection was ended.",
         Opening + SetLine + "x"},
        {NetworkProtocol::Rfc2217, "\xff\xfd\x18"_b.repeated(20000), Then::Floods, "",
         "The server at 127.0.0.1:%1 reads nothing of what is sent to it (more than 64 KiB "
         "waiting); the connection was ended.",
         "", ""},
        {NetworkProtocol::RawTcp, "", Then::ResetsOnData, "", "",
         "The connection to the gateway at 127.0.0.1:%1 was lost: The remote host reset the "
         "connection.",
         ""},
    };
    for (const auto& row : rows) {
        quint16 port = 0;
        std::future<QByteArray> received = Serve(row.Opening, row.Next, row.Later, port);
        const auto at = [port](QString text) { return text.replace("%1", QString::number(port)); };
        NetworkSerialPort network({row.Protocol, QStringLiteral("127.0.0.1"), port});
        EXPECT_EQ(network.Open().Text, at(row.OpenFailure));
        network.Write("x");
        // A wait on a lost connection lasts its time: short waits, up to 5 s.
        for (int wait = 0; wait < 50 && network.LostReason().isEmpty() && network.IsOpen(); ++wait)
            network.WaitForData(std::chrono::milliseconds(100));
        EXPECT_EQ(network.LostReason(), at(row.Lost));
        network.Close();
        const QByteArray got = received.get();
        EXPECT_TRUE(row.Received.isEmpty() || got == row.Received) << got.toHex().data();
    }
}

}  // namespace
}  // namespace kv
