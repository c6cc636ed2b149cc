#include "platform/QtSerialPort.h"

#include <QFile>
#include <QFileInfo>
#include <thread>
#include <utility>

#include "platform/PortAssignments.h"
#include "platform/PortHolder.h"
#include "platform/PortNaming.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv {
namespace {

constexpr qint32 LineBaudRate = 115200;

#ifdef Q_OS_UNIX

bool MayReadAndWrite(const QString& device) {
    return access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

// The group whose members may read and write the device, empty when there is none.
QString AccessGroupOf(const QString& device) {
    struct stat info {};
    if (stat(QFile::encodeName(device).constData(), &info) != 0) return {};
    const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    if ((info.st_mode & groupReadWrite) != groupReadWrite) return {};
    const struct group* owner = getgrgid(info.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString();
}

QString PermissionHint(const QString& device) {
    const QString group = AccessGroupOf(device);
    if (group.isEmpty())
        return QStringLiteral("Ask the administrator for read and write access to %1.").arg(device);
    return QStringLiteral(
               "To use %1, add your user to the group \"%2\" (for example "
               "\"sudo usermod -aG %2 $USER\"), then log in again.")
        .arg(device, group);
}

// QSerialPort reports a port held by another program and a device we may not use with
// the same error, so the lock files and the device's access rights tell them apart.
PortOpenResult PermissionRefused(const QString& device, const QString& systemText) {
    if (LockFileHolder(device).Pid > 0 || MayReadAndWrite(device))
        return {PortOpenError::InUse, systemText};
    return {PortOpenError::Other, systemText + u'\n' + PermissionHint(device)};
}

// Terminal programs such as picocom claim a port with flock and no lock file; TIOCEXCL makes
// the system refuse every further open of the terminal but root's. Either way no other
// program's keystrokes can interleave with a write, nor can it take the console's replies.
bool TakeExclusiveUse(int descriptor) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
    ioctl(descriptor, TIOCEXCL);  // not every device supports it; the flock holds anyway
    return true;
}

#else

PortOpenResult PermissionRefused(const QString&, const QString& systemText) {
    return {PortOpenError::InUse, systemText};
}

bool TakeExclusiveUse(QSerialPort::Handle) { return true; }

#endif

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

}  // namespace

QtSerialPort::QtSerialPort() {
    port_.setBaudRate(LineBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

void QtSerialPort::SelectPort(int number) {
    number_ = number;
    device_.clear();
}

void QtSerialPort::SelectDevice(const QString& path) { device_ = path; }

QString QtSerialPort::DeviceToOpen() const {
    if (device_.isEmpty()) return ResolveComPort(number_);
    // Opened by its real name so that its lock file is the one any other name would take.
    const QString resolved = QFileInfo(device_).canonicalFilePath();
    return resolved.isEmpty() ? device_ : resolved;
}

PortOpenResult QtSerialPort::Open() {
    Close();
    lostReason_.clear();
    const QString device = DeviceToOpen();
    if (device.isEmpty())
        return {PortOpenError::NotOpened,
                QStringLiteral("No device is behind COM %1.").arg(number_)};
    // QSerialPort names its lock file after the device. The system cuts a name at a NUL, so
    // the lock file's own guard, the same name plus ".rmlock", would be the lock file itself:
    // once a lock of that name is left behind, QLockFile locks guard after guard until the
    // stack runs out.
    if (const QString control = ControlCharacterIn(device); !control.isEmpty())
        return {PortOpenError::Other,
                QStringLiteral("The device's name holds a control character (%1); no device's "
                               "name does.")
                    .arg(control)};
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString systemText = port_.errorString();
        return OpenFailure(port_.error(), device, systemText);
    }
    if (!TakeExclusiveUse(port_.handle())) {
        port_.close();
        return {PortOpenError::InUse, QStringLiteral("Another program holds %1.").arg(device)};
    }
    port_.clear(QSerialPort::AllDirections);
#ifdef Q_OS_UNIX
    io_.Attach(int(port_.handle()));
#endif
    return {};
}

void QtSerialPort::Close() {
    // Restoring the settings of a device that is gone fails too; that is no news.
    const QString reason = lostReason_;
#ifdef Q_OS_UNIX
    io_.Detach();
    pending_.clear();
#endif
    if (port_.isOpen()) port_.close();
    lostReason_ = reason;
    deviceLost_ = false;
}

#ifdef Q_OS_UNIX

// QSerialPort opens, sets up and closes the device; its bytes go through the descriptor
// directly (TerminalIo.h). Its own buffer fills only while an event loop runs on the port's
// thread between operations, so what is there comes first.
void QtSerialPort::PullArrivedBytes() {
    if (port_.bytesAvailable() > 0) pending_ += port_.readAll();
    io_.Pull();
    NoteFailure();
}

void QtSerialPort::ClearReceiveBuffer() {
    pending_.clear();
    if (port_.bytesAvailable() > 0) port_.readAll();
    io_.DropInput();
    NoteFailure();
}

int QtSerialPort::BytesWaiting() {
    PullArrivedBytes();
    CloseIfDeviceLost();
    return IsOpen() ? int(pending_.size() + io_.Received()) : 0;
}

QByteArray QtSerialPort::ReadAll() {
    // After a wait that ended with data, what it took in is handed out without another look
    // at the device: each look is a system call, and what comes later is read next time.
    if (pending_.isEmpty() && io_.Received() == 0) PullArrivedBytes();
    CloseIfDeviceLost();
    if (!IsOpen()) return {};
    if (pending_.isEmpty()) return io_.Take();
    return std::exchange(pending_, {}) + io_.Take();
}

int QtSerialPort::BytesToSend() {
    const qsizetype unsent = io_.Unsent();
    NoteFailure();
    CloseIfDeviceLost();
    return IsOpen() ? int(unsent) : 0;
}

void QtSerialPort::WaitForData(std::chrono::microseconds maxWait) {
    CloseIfDeviceLost();
    // A wait on a lost device is slept: it would otherwise return at once and spin the
    // caller's loop.
    if (!IsOpen()) {
        std::this_thread::sleep_for(maxWait);
        return;
    }
    if (pending_.isEmpty()) io_.Wait(maxWait);
    NoteFailure();
}

void QtSerialPort::Write(const QByteArray& bytes) {
    CloseIfDeviceLost();
    if (!IsOpen()) return;
    io_.Write(bytes);
    NoteFailure();
    CloseIfDeviceLost();
}

void QtSerialPort::NoteFailure() {
    if (!io_.Failure().isEmpty()) NoteDeviceLost(io_.Failure());
}

#else

void QtSerialPort::ClearReceiveBuffer() {
    PullArrivedBytes();
    if (!IsOpen()) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

int QtSerialPort::BytesWaiting() {
    PullArrivedBytes();
    return IsOpen() ? int(port_.bytesAvailable()) : 0;
}

QByteArray QtSerialPort::ReadAll() {
    if (port_.bytesAvailable() == 0) PullArrivedBytes();
    CloseIfDeviceLost();
    // readAll() hands back a buffer of its read chunk's size (64 KiB) however little came;
    // reading the count keeps each chunk at its own size.
    return IsOpen() ? port_.read(port_.bytesAvailable()) : QByteArray();
}

int QtSerialPort::BytesToSend() {
    CloseIfDeviceLost();
    return IsOpen() ? int(port_.bytesToWrite()) : 0;
}

void QtSerialPort::WaitForData(std::chrono::microseconds maxWait) {
    CloseIfDeviceLost();
    if (IsOpen() && port_.bytesAvailable() > 0) return;
    // QSerialPort waits in whole milliseconds; a shorter wait is slept, and so is a wait on
    // a lost device, which would otherwise return at once and spin the caller's loop.
    if (!IsOpen() || maxWait < std::chrono::milliseconds(1)) {
        std::this_thread::sleep_for(maxWait);
        return;
    }
    port_.waitForReadyRead(int(std::chrono::ceil<std::chrono::milliseconds>(maxWait).count()));
}

void QtSerialPort::Write(const QByteArray& bytes) {
    CloseIfDeviceLost();
    if (!IsOpen()) return;
    port_.write(bytes);
    port_.flush();
    CloseIfDeviceLost();
}

// Takes in what the system has received without waiting, so the count is current even
// when no event loop ran since the bytes arrived.
void QtSerialPort::PullArrivedBytes() {
    if (IsOpen()) port_.waitForReadyRead(0);
    CloseIfDeviceLost();
}

#endif

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
                          .arg(PortShownName(), systemText);
}

QString QtSerialPort::PortShownName() const {
    return device_.isEmpty() ? QStringLiteral("COM %1").arg(number_) : device_;
}

void QtSerialPort::CloseIfDeviceLost() {
    if (deviceLost_) Close();
}

}  // namespace kv
