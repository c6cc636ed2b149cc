#pragma once
// The port the program opens: a local device (QtSerialPort) or a serial port server on the
// network (NetworkSerialPort), chosen when the port opens from what COM n is assigned to
// (`kv9052r-cli ports --assign COM5 rfc2217://HOST:PORT`) or what the command line names.
// The windows and the command line use it alike, so COM n means the same port in both.

#include <memory>

#include "platform/NetworkSerialPort.h"
#include "platform/QtSerialPort.h"

namespace kv {

class RoutedSerialPort : public SerialPort {
public:
    void SelectPort(int number) override;
    int SelectedPort() const override { return number_; }
    // Opens this device path or network address instead of COM n.
    void SelectDevice(const QString& nameOrAddress);

    PortOpenResult Open() override;
    void Close() override { Active().Close(); }
    bool IsOpen() const override { return Active().IsOpen(); }
    void ClearReceiveBuffer() override { Active().ClearReceiveBuffer(); }
    int BytesWaiting() override { return Active().BytesWaiting(); }
    QByteArray ReadAll() override { return Active().ReadAll(); }
    int BytesToSend() override { return Active().BytesToSend(); }
    void Write(const QByteArray& bytes) override { Active().Write(bytes); }
    void WaitForData(std::chrono::microseconds maxWait) override { Active().WaitForData(maxWait); }
    QString LostReason() const override { return Active().LostReason(); }
    std::chrono::milliseconds RoundTrip() const override { return Active().RoundTrip(); }
    int KeptReplyTimeoutMs() const override { return keptReplyTimeoutMs_; }

private:
    PortOpenResult OpenNetwork(const QString& address);
    SerialPort& Active() { return network_ ? static_cast<SerialPort&>(*network_) : local_; }
    const SerialPort& Active() const {
        return network_ ? static_cast<const SerialPort&>(*network_) : local_;
    }

    QtSerialPort local_;
    std::unique_ptr<NetworkSerialPort> network_;  // while a network port is chosen
    int number_ = 1;
    QString device_;  // chosen by SelectDevice; empty means COM n
    int keptReplyTimeoutMs_ = 0;
};

}  // namespace kv
