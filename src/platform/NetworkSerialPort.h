#pragma once
// The gateway's console through a serial port server on the network (NetworkAddress.h):
// a TCP connection, raw or telnet with the COM port control (TelnetComPortControl.h). The
// session thread and the command line's threads run no event loop during an operation, so
// the socket is only ever driven by its blocking waits, as QtSerialPort drives the device.

#include <QElapsedTimer>
#include <QTcpSocket>

#include "platform/LineSettings.h"
#include "platform/NetworkAddress.h"
#include "platform/SerialPort.h"
#include "platform/TelnetComPortControl.h"

namespace kv {

class NetworkSerialPort : public SerialPort {
public:
    explicit NetworkSerialPort(const NetworkAddress& address,
                               const LineSettings& line = ConsoleLine)
        : address_(address), line_(line) {}

    // Connects, and for RFC 2217 sets the line; nothing reaches the console before the line
    // is set as asked.
    PortOpenResult Open() override;
    void Close() override;
    bool IsOpen() const override;
    void ClearReceiveBuffer() override;
    int BytesWaiting() override;
    QByteArray ReadAll() override;
    int BytesToSend() override;
    void Write(const QByteArray& bytes) override;
    void WaitForData(std::chrono::microseconds maxWait) override;
    QString LostReason() const override { return lostReason_; }
    // The connection's set-up when the port opened: the TCP connect, for RFC 2217 the
    // option negotiation.
    std::chrono::milliseconds RoundTrip() const override { return roundTrip_; }

private:
    QString ConnectFailure() const;
    QString Negotiate();
    QString TelnetFailure() const;
    QString OverflowText() const;
    QString LossText() const;
    void End(const QString& reason);
    void NoteReset();
    bool WaitReadable(int ms);
    bool IsTelnet() const { return address_.Protocol == NetworkProtocol::Rfc2217; }
    // Sends `bytes`; false when more than the limit of what was sent waits, unread by the
    // server.
    bool SendRaw(const QByteArray& bytes);
    void TakeArrived();
    void PullArrivedBytes();
    void NoteIfLost();

    NetworkAddress address_;
    LineSettings line_;
    QTcpSocket socket_;
    TelnetComPortControl telnet_;
    QByteArray received_;  // the console's bytes, telnet commands taken out
    bool connected_ = false;
    QString lostReason_;  // kept after the close, until the next open
    bool reset_ = false;  // the server reset the connection
    std::chrono::milliseconds roundTrip_{0};
};

}  // namespace kv
