#include "platform/NetworkSerialPort.h"

#include <QDeadlineTimer>
#include <thread>

#include "platform/SocketWait.h"

namespace kv {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds ConnectTimeout = 5s;
constexpr std::chrono::milliseconds NegotiationTimeout = 5s;
// What the socket holds before the console link takes it; more waits in the system, whose
// window then holds back the server.
constexpr qint64 ReadBufferLimit = 64 * 1024;
// What may wait to be sent: the console's lines and the telnet answers are short, so more
// is a server that keeps asking and reads nothing.
constexpr qint64 PendingOutputLimit = 64 * 1024;
// What of the server's text before the line is set is shown, at most.
constexpr qsizetype ServerNoticeLimit = 200;

}  // namespace

PortOpenResult NetworkSerialPort::Open() {
    Close();
    lostReason_.clear();
    reset_ = false;
    received_.clear();
    telnet_ = TelnetComPortControl(line_);
    socket_.setReadBufferSize(ReadBufferLimit);
    // The connect is timed from when the host is known: a name lookup is no round trip.
    QElapsedTimer setUp;
    const QMetaObject::Connection timing =
        QObject::connect(&socket_, &QAbstractSocket::stateChanged, &socket_,
                         [&setUp](QAbstractSocket::SocketState state) {
                             if (state == QAbstractSocket::ConnectingState) setUp.start();
                         });
    socket_.connectToHost(address_.Host, address_.Port);
    const bool connected = socket_.waitForConnected(int(ConnectTimeout.count()));
    QObject::disconnect(timing);
    if (!connected) {
        const QString failure = ConnectFailure();
        socket_.abort();
        return {PortOpenError::Other, failure, true};
    }
    roundTrip_ = std::chrono::milliseconds(setUp.isValid() ? setUp.elapsed() : 0);
    // The console takes one character at a time with a pause after each: every character
    // goes out at once, not gathered into one segment with the next ones.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (IsTelnet()) {
        setUp.start();
        if (const QString refused = Negotiate(); !refused.isEmpty()) {
            socket_.abort();
            return {PortOpenError::Other, refused};
        }
        roundTrip_ = std::chrono::milliseconds(setUp.elapsed());
    }
    connected_ = true;
    return {};
}

QString NetworkSerialPort::ConnectFailure() const {
    const QString where = address_.HostAndPort();
    switch (socket_.error()) {
        case QAbstractSocket::HostNotFoundError:
            return QStringLiteral("Can't reach the gateway at %1: the host %2 was not found.")
                .arg(where, address_.Host);
        case QAbstractSocket::ConnectionRefusedError:
            return QStringLiteral(
                       "Can't reach the gateway at %1: the connection was refused (is the "
                       "serial port server running and is %2 its port?).")
                .arg(where)
                .arg(address_.Port);
        case QAbstractSocket::SocketTimeoutError:
            return QStringLiteral("Can't reach the gateway at %1: no answer within %2 s.")
                .arg(where)
                .arg(ConnectTimeout.count() / 1000);
        default:
            return QStringLiteral("Can't reach the gateway at %1: %2")
                .arg(where, socket_.errorString());
    }
}

// Offers the COM port control and waits until the server has set the line. Returns why it
// did not, empty once it has; the console has had nothing yet.
QString NetworkSerialPort::Negotiate() {
    const QString where = address_.HostAndPort();
    SendRaw(TelnetComPortControl::Opening());
    const QDeadlineTimer deadline(NegotiationTimeout);
    // Data before the line is set is no answer to anything the console was sent; a server
    // that gives up says why in it ("Port's device already in use").
    QByteArray said;
    while (telnet_.Progress() == TelnetComPortControl::State::Negotiating) {
        // Checked whether or not data came: a server that keeps talking without setting the
        // line must not hold the open for ever.
        if (deadline.hasExpired())
            return QStringLiteral(
                       "The server at %1 did not set the line within %2 s: is it a telnet "
                       "port with RFC 2217? For a raw TCP port use socket://%1.")
                .arg(where)
                .arg(NegotiationTimeout.count() / 1000);
        if (!WaitReadable(int(deadline.remainingTime()))) {
            if (socket_.state() != QAbstractSocket::ConnectedState)
                return QStringLiteral(
                           "The server at %1 closed the connection while the line was being "
                           "set: %2.")
                    .arg(where, said.isEmpty() ? LossText() : QString::fromLatin1(said).trimmed());
            continue;
        }
        said = (said + telnet_.Decode(socket_.readAll())).right(ServerNoticeLimit);
        if (!SendRaw(telnet_.TakeAnswers())) return OverflowText();
    }
    return TelnetFailure();
}

// What the server did to the COM port control, in words; empty while the line is as agreed.
QString NetworkSerialPort::TelnetFailure() const {
    const QString where = address_.HostAndPort();
    switch (telnet_.Progress()) {
        case TelnetComPortControl::State::OptionRefused:
            if (connected_)
                return QStringLiteral(
                           "The server at %1 gave up the COM port control (RFC 2217) while the "
                           "port was in use; the connection was ended.")
                    .arg(where);
            return QStringLiteral(
                       "The server at %1 refused the COM port control (RFC 2217); for a raw TCP "
                       "port use socket://%1.")
                .arg(where);
        case TelnetComPortControl::State::SettingsRefused:
            return QStringLiteral("The server at %1 refused the line settings %2: it set %3.")
                .arg(where, line_.Text(), telnet_.ServerSetting());
        case TelnetComPortControl::State::LineChanged:
            return QStringLiteral(
                       "The server at %1 changed the line to %2; the console takes %3, so the "
                       "connection was ended.")
                .arg(where, telnet_.ServerSetting(), line_.Text());
        default:
            return {};
    }
}

QString NetworkSerialPort::OverflowText() const {
    return QStringLiteral(
               "The server at %1 reads nothing of what is sent to it (more than %2 KiB waiting); "
               "the connection was ended.")
        .arg(address_.HostAndPort())
        .arg(PendingOutputLimit / 1024);
}

// The reason the connection ended, in the system's words; Qt tells a reset as a close.
QString NetworkSerialPort::LossText() const {
    return reset_ ? QStringLiteral("The remote host reset the connection") : socket_.errorString();
}

// Ends the connection for `reason`, which the console link is then told.
void NetworkSerialPort::End(const QString& reason) {
    lostReason_ = reason;
    connected_ = false;
    socket_.abort();
}

// Qt reads a reset as the end of the stream and says the remote host closed the connection;
// the system's pending error, looked at before Qt reads or writes, tells the two apart. A
// reset after the server's close is that close's (EPIPE), not a reset of its own.
void NetworkSerialPort::NoteReset() {
    const qintptr descriptor = socket_.socketDescriptor();
    if (descriptor >= 0 && SocketWasReset(descriptor)) reset_ = true;
}

// Waits up to `ms` for the server's bytes and lets the socket take them. The wait itself is
// the system's, so that a reset is noted before Qt reads it; while output waits to be sent,
// Qt's own wait sends it meanwhile.
bool NetworkSerialPort::WaitReadable(int ms) {
    const qintptr descriptor = socket_.socketDescriptor();
    if (ms > 0 && descriptor >= 0 && socket_.bytesToWrite() == 0) {
        const SocketWait waited = WaitForSocketBytes(descriptor, ms);
        if (waited == SocketWait::TimedOut) return false;
        if (waited == SocketWait::Readable) ms = 0;
    }
    NoteReset();
    return socket_.waitForReadyRead(ms);
}

void NetworkSerialPort::Close() {
    connected_ = false;
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        socket_.flush();
        socket_.abort();
    }
}

bool NetworkSerialPort::IsOpen() const {
    return connected_ && socket_.state() == QAbstractSocket::ConnectedState;
}

bool NetworkSerialPort::SendRaw(const QByteArray& bytes) {
    if (bytes.isEmpty()) return true;
    NoteReset();
    socket_.write(bytes);
    socket_.flush();
    return socket_.bytesToWrite() <= PendingOutputLimit;
}

// Takes what the socket holds, telnet commands answered and taken out.
void NetworkSerialPort::TakeArrived() {
    if (socket_.bytesAvailable() <= 0) return;
    const QByteArray arrived = socket_.readAll();
    if (!IsTelnet()) {
        received_ += arrived;
        return;
    }
    received_ += telnet_.Decode(arrived);
    if (!SendRaw(telnet_.TakeAnswers())) return End(OverflowText());
    if (const QString failure = TelnetFailure(); !failure.isEmpty()) End(failure);
}

// Takes in what the system has received without waiting, so the count is current even
// when no event loop ran since the bytes arrived.
void NetworkSerialPort::PullArrivedBytes() {
    if (IsOpen()) WaitReadable(0);
    TakeArrived();
    NoteIfLost();
}

// A server that ended or a network that failed: the reason stays, so that the console link
// ends its exchanges at once with it.
void NetworkSerialPort::NoteIfLost() {
    if (!connected_ || socket_.state() == QAbstractSocket::ConnectedState) return;
    connected_ = false;
    if (lostReason_.isEmpty())
        lostReason_ = QStringLiteral("The connection to the gateway at %1 was lost: %2.")
                          .arg(address_.HostAndPort(), LossText());
}

void NetworkSerialPort::ClearReceiveBuffer() {
    PullArrivedBytes();
    received_.clear();
}

int NetworkSerialPort::BytesWaiting() {
    PullArrivedBytes();
    return int(received_.size());
}

QByteArray NetworkSerialPort::ReadAll() {
    PullArrivedBytes();
    QByteArray taken;
    taken.swap(received_);
    return taken;
}

int NetworkSerialPort::BytesToSend() {
    if (IsOpen()) socket_.flush();
    NoteIfLost();
    return IsOpen() ? int(socket_.bytesToWrite()) : 0;
}

void NetworkSerialPort::Write(const QByteArray& bytes) {
    NoteIfLost();
    if (!IsOpen()) return;
    if (!SendRaw(IsTelnet() ? telnet_.Encode(bytes) : bytes)) return End(OverflowText());
    NoteIfLost();
}

void NetworkSerialPort::WaitForData(std::chrono::microseconds maxWait) {
    PullArrivedBytes();
    if (!received_.isEmpty()) return;
    // The socket waits in whole milliseconds; a shorter wait is slept, and so is a wait on
    // a lost connection, which would otherwise return at once and spin the caller's loop.
    if (!IsOpen() || maxWait < 1ms) {
        std::this_thread::sleep_for(maxWait);
        return;
    }
    WaitReadable(int(std::chrono::ceil<std::chrono::milliseconds>(maxWait).count()));
    TakeArrived();
    NoteIfLost();
}

}  // namespace kv
