#pragma once
// A local serial device over QSerialPort, which opens it, sets the line and closes it. It
// needs no event loop: what has arrived is read when the count is asked for, and WaitForData
// blocks the session thread on the device until data comes. How the bytes go is the
// platform's (chosen by CMake): on POSIX systems through the device's descriptor directly
// (posix/QtSerialPortIo.cpp), elsewhere, and with KV_PORTABLE_SERIAL, through QSerialPort
// alone (portable/QtSerialPortIo.cpp).

#include <QSerialPort>
#include <memory>

#include "platform/LineSettings.h"
#include "platform/SerialPort.h"

namespace kv {

class QtSerialPort : public SerialPort {
public:
    // `device` is opened by its real name; `shownName` ("COM 3" or the path) names it in
    // messages.
    QtSerialPort(const QString& device, const QString& shownName,
                 const LineSettings& line = ConsoleLine);

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
    // The platform's way to the bytes, complete in the platform's file only.
    struct Io;
    struct IoDeleter {
        void operator()(Io* io) const;
    };
    using IoPointer = std::unique_ptr<Io, IoDeleter>;
    static IoPointer NewIo();

    // Claims the open device for this program alone; false when another one holds it.
    bool TakeExclusiveUse();
    void AttachIo();
    void DetachIo();
    void PullArrivedBytes();
    void OnError(QSerialPort::SerialPortError error);
    void NoteDeviceLost(const QString& systemText);
    void CloseIfDeviceLost();

    QSerialPort port_;
    QString device_;
    QString shownName_;
    bool deviceLost_ = false;
    QString lostReason_;  // kept after the close, until the next open
    IoPointer io_ = NewIo();
};

}  // namespace kv
