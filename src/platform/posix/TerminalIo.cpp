#include "platform/posix/TerminalIo.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kv {
namespace {

// A reply is a few hundred bytes at most; a full chunk is followed by another read.
constexpr ssize_t ReadChunk = 4096;

bool IsTransient(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

void TerminalIo::Attach(int descriptor) {
    descriptor_ = descriptor;
    received_.clear();
    unsent_.clear();
    failure_.clear();
}

// A device that went away makes read() fail with EIO (a terminal whose other end closed),
// ENXIO or ENODEV (an adapter pulled out); none of these passes, so the descriptor is no
// longer used. A raw terminal that has nothing returns 0 rather than EAGAIN.
void TerminalIo::Pull() {
    char chunk[ReadChunk];
    while (IsAttached() && failure_.isEmpty()) {
        const ssize_t count = read(descriptor_, chunk, sizeof chunk);
        if (count > 0) received_.append(chunk, count);
        if (count == ReadChunk || (count < 0 && errno == EINTR)) continue;
        if (count < 0 && !IsTransient(errno)) Fail(errno);
        return;
    }
}

QByteArray TerminalIo::Take() {
    QByteArray taken;
    taken.swap(received_);
    return taken;
}

void TerminalIo::DropInput() {
    Pull();
    if (IsAttached() && failure_.isEmpty()) tcflush(descriptor_, TCIFLUSH);
    received_.clear();
}

void TerminalIo::Wait(std::chrono::microseconds maxWait) {
    if (!received_.isEmpty() || !IsAttached() || !failure_.isEmpty()) return;
    pollfd device{descriptor_, POLLIN, 0};
    const auto seconds = std::chrono::floor<std::chrono::seconds>(maxWait);
    const timespec wait{time_t(seconds.count()), long((maxWait - seconds).count()) * 1000};
    if (ppoll(&device, 1, &wait, nullptr) <= 0) return;
    const qsizetype had = received_.size();
    Pull();
    // A hang-up usually makes the read fail with the system's reason; a hung-up terminal
    // reads nothing for ever instead, and would wake every wait at once.
    const bool hungUp = (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (hungUp && received_.size() == had && failure_.isEmpty()) Fail(EIO);
}

void TerminalIo::Write(QByteArrayView bytes) {
    unsent_.append(bytes);
    Unsent();
}

qsizetype TerminalIo::Unsent() {
    while (!unsent_.isEmpty() && IsAttached() && failure_.isEmpty()) {
        const ssize_t count = write(descriptor_, unsent_.constData(), size_t(unsent_.size()));
        if (count >= 0) {
            unsent_.remove(0, count);
            continue;
        }
        const int error = errno;
        if (error == EINTR) continue;
        // A full output buffer takes the rest at the next call.
        if (!IsTransient(error)) Fail(error);
        break;
    }
    if (!failure_.isEmpty()) unsent_.clear();
    return unsent_.size();
}

void TerminalIo::Fail(int error) { failure_ = QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace kv
