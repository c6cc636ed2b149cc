// The local port's bytes on POSIX systems: QSerialPort opens, sets up and closes the device;
// its bytes go through the descriptor directly (TerminalIo.h). Its own buffer fills only
// while an event loop runs on the port's thread between operations, so what is there comes
// first.

#include <sys/file.h>
#include <sys/ioctl.h>

#include <thread>
#include <utility>

#include "platform/QtSerialPort.h"
#include "platform/posix/TerminalIo.h"

namespace kv {

struct QtSerialPort::Io {
    TerminalIo Terminal;
    QByteArray Pending;  // taken from QSerialPort's own buffer, handed out first

    // A failure under the descriptor is a device that went away.
    void NoteFailure(QtSerialPort& port) const {
        if (!Terminal.Failure().isEmpty()) port.NoteDeviceLost(Terminal.Failure());
    }
};

QtSerialPort::IoPointer QtSerialPort::NewIo() { return IoPointer(new Io); }

void QtSerialPort::IoDeleter::operator()(Io* io) const { delete io; }

// Terminal programs such as picocom claim a port with flock and no lock file; TIOCEXCL makes
// the system refuse every further open of the terminal but root's. Either way no other
// program's keystrokes can interleave with a write, nor can it take the console's replies.
bool QtSerialPort::TakeExclusiveUse() {
    const int descriptor = int(port_.handle());
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
    ioctl(descriptor, TIOCEXCL);  // not every device supports it; the flock holds anyway
    return true;
}

void QtSerialPort::AttachIo() { io_->Terminal.Attach(int(port_.handle())); }

void QtSerialPort::DetachIo() {
    io_->Terminal.Detach();
    io_->Pending.clear();
}

void QtSerialPort::PullArrivedBytes() {
    if (port_.bytesAvailable() > 0) io_->Pending += port_.readAll();
    io_->Terminal.Pull();
    io_->NoteFailure(*this);
}

void QtSerialPort::ClearReceiveBuffer() {
    io_->Pending.clear();
    if (port_.bytesAvailable() > 0) port_.readAll();
    io_->Terminal.DropInput();
    io_->NoteFailure(*this);
}

int QtSerialPort::BytesWaiting() {
    PullArrivedBytes();
    CloseIfDeviceLost();
    return IsOpen() ? int(io_->Pending.size() + io_->Terminal.Received()) : 0;
}

QByteArray QtSerialPort::ReadAll() {
    // After a wait that ended with data, what it took in is handed out without another look
    // at the device: each look is a system call, and what comes later is read next time.
    if (io_->Pending.isEmpty() && io_->Terminal.Received() == 0) PullArrivedBytes();
    CloseIfDeviceLost();
    if (!IsOpen()) return {};
    if (io_->Pending.isEmpty()) return io_->Terminal.Take();
    return std::exchange(io_->Pending, {}) + io_->Terminal.Take();
}

int QtSerialPort::BytesToSend() {
    const qsizetype unsent = io_->Terminal.Unsent();
    io_->NoteFailure(*this);
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
    if (io_->Pending.isEmpty()) io_->Terminal.Wait(maxWait);
    io_->NoteFailure(*this);
}

void QtSerialPort::Write(const QByteArray& bytes) {
    CloseIfDeviceLost();
    if (!IsOpen()) return;
    io_->Terminal.Write(bytes);
    io_->NoteFailure(*this);
    CloseIfDeviceLost();
}

}  // namespace kv
