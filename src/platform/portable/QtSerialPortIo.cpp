// The local port's bytes through QSerialPort alone, with no access to the device's
// descriptor: for systems without POSIX, and on Linux with KV_PORTABLE_SERIAL so that this
// path is built and tested there too.

#include <thread>

#include "platform/QtSerialPort.h"

namespace kv {

struct QtSerialPort::Io {};

QtSerialPort::IoPointer QtSerialPort::NewIo() { return IoPointer(new Io); }

void QtSerialPort::IoDeleter::operator()(Io* io) const { delete io; }

// The system's own serial port driver opens a port for one program at a time, and
// QSerialPort's lock file keeps out the programs that take one.
bool QtSerialPort::TakeExclusiveUse() { return true; }

void QtSerialPort::AttachIo() {}

void QtSerialPort::DetachIo() {}

// Takes in what the system has received without waiting, so the count is current even
// when no event loop ran since the bytes arrived.
void QtSerialPort::PullArrivedBytes() {
    if (IsOpen()) port_.waitForReadyRead(0);
    CloseIfDeviceLost();
}

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

}  // namespace kv
