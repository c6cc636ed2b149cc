#include "platform/QtSerialPort.h"

#include <QFileInfo>

#include "platform/DeviceAccess.h"
#include "platform/PortNaming.h"

namespace kv {
namespace {

PortOpenResult OpenFailure(QSerialPort::SerialPortError error, const QString& device,
                           const QString& systemText) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return {PortOpenError::NotOpened, systemText};
        case QSerialPort::PermissionError:
            return PermissionRefused(device, systemText);
        default:
            return {PortOpenError::Other, systemText};
    }
}

QSerialPort::Parity QtParity(LineParity parity) {
    switch (parity) {
        case LineParity::Odd:
            return QSerialPort::OddParity;
        case LineParity::Even:
            return QSerialPort::EvenParity;
        case LineParity::Mark:
            return QSerialPort::MarkParity;
        case LineParity::Space:
            return QSerialPort::SpaceParity;
        case LineParity::None:
            break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits QtStopBits(LineStopBits stopBits) {
    switch (stopBits) {
        case LineStopBits::Two:
            return QSerialPort::TwoStop;
        case LineStopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case LineStopBits::One:
            break;
    }
    return QSerialPort::OneStop;
}

}  // namespace

QtSerialPort::QtSerialPort(const QString& device, const QString& shownName,
                           const LineSettings& line)
    : shownName_(shownName) {
    // Opened by its real name so that its lock file is the one any other name would take.
    const QString resolved = QFileInfo(device).canonicalFilePath();
    device_ = resolved.isEmpty() ? device : resolved;
    port_.setBaudRate(qint32(line.BaudRate));
    port_.setDataBits(QSerialPort::DataBits(line.DataBits));
    port_.setParity(QtParity(line.Parity));
    port_.setStopBits(QtStopBits(line.StopBits));
    port_.setFlowControl(QSerialPort::NoFlowControl);
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

PortOpenResult QtSerialPort::Open() {
    Close();
    lostReason_.clear();
    // QSerialPort names its lock file after the device. The system cuts a name at a NUL, so
    // the lock file's own guard, the same name plus ".rmlock", would be the lock file itself:
    // once a lock of that name is left behind, QLockFile locks guard after guard until the
    // stack runs out.
    if (const QString control = ControlCharacterIn(device_); !control.isEmpty())
        return {PortOpenError::Other,
                QStringLiteral("The device's name holds a control character (%1); no device's "
                               "name does.")
                    .arg(control)};
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString systemText = port_.errorString();
        return OpenFailure(port_.error(), device_, systemText);
    }
    if (!TakeExclusiveUse()) {
        port_.close();
        return {PortOpenError::InUse, QStringLiteral("Another program holds %1.").arg(device_)};
    }
    port_.clear(QSerialPort::AllDirections);
    AttachIo();
    return {};
}

void QtSerialPort::Close() {
    // Restoring the settings of a device that is gone fails too; that is no news.
    const QString reason = lostReason_;
    DetachIo();
    if (port_.isOpen()) port_.close();
    lostReason_ = reason;
    deviceLost_ = false;
}

// An adapter pulled out, or a terminal whose other end went away (reads then fail for
// good and the port would wake the event loop again and again): the port is closed at the
// next operation, outside QSerialPort's own error signal, and reads return nothing. The
// reason stays, so that the console link ends its exchanges at once with it.
void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
    NoteDeviceLost(port_.errorString());
}

// The system's text alone ("Input/output error", or for a terminal whose program ended
// "Inappropriate ioctl for device") does not say what happened to the user's gateway.
void QtSerialPort::NoteDeviceLost(const QString& systemText) {
    deviceLost_ = true;
    if (lostReason_.isEmpty())
        lostReason_ = QStringLiteral(
                          "The connection to the gateway on %1 was lost: the adapter was "
                          "unplugged or the program serving the port ended (%2).")
                          .arg(shownName_, systemText);
}

void QtSerialPort::CloseIfDeviceLost() {
    if (deviceLost_) Close();
}

}  // namespace kv
