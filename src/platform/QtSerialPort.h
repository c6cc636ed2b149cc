#pragma once
// The PC serial port over QSerialPort. COM n is resolved to a device when the port opens
// (PortNaming.h), so a virtual gateway started after the selection is found. It needs no
// event loop: what has arrived is read when the count is asked for, and WaitForData
// blocks the session thread on the device until data comes. On POSIX systems the bytes go
// through the device's descriptor directly (TerminalIo.h).

#include <QSerialPort>

#include "platform/SerialPort.h"
#include "platform/TerminalIo.h"

namespace kv {

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();

    void SelectPort(int number) override;
    int SelectedPort() const override { return number_; }
    // Opens this device instead of COM n (for a command line given a device path).
    void SelectDevice(const QString& path);

    PortOpenResult Open() override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen() && !deviceLost_; }
    void ClearReceiveBuffer() override;
    int BytesWaiting() override;
    QByteArray ReadAll() override;
    int BytesToSend() override;
    void Write(const QByteArray& bytes) override;
    void WaitForData(std::chrono::microseconds maxWait) override;
    QString LostReason() const override { return lostReason_; }

private:
    QString DeviceToOpen() const;
    void PullArrivedBytes();
    void OnError(QSerialPort::SerialPortError error);
    void NoteDeviceLost(const QString& systemText);
    void NoteFailure();
    void CloseIfDeviceLost();
    QString PortShownName() const;

    QSerialPort port_;
    int number_ = 1;
    QString device_;  // chosen by SelectDevice; empty means COM n
    bool deviceLost_ = false;
    QString lostReason_;  // kept after the close, until the next open
    TerminalIo io_;
    QByteArray pending_;  // taken from QSerialPort's own buffer, handed out first
};

}  // namespace kv
