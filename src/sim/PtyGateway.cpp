#include "sim/PtyGateway.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace kv::sim {

namespace {

// Output due within this much is written together: a wake-up per character would cost
// more than the pacing is worth.
constexpr uint64_t BatchNs = 500'000;
// While the terminal accepts nothing (no client reads), look again this often.
constexpr uint64_t BlockedRetryNs = 10'000'000;
// A pause this long means the utility is not in the middle of an exchange: the utility's
// replies time out after 50 to 200 ms, and it sends its next line within a few.
constexpr uint64_t QuietNs = 500'000'000;

uint64_t NowNs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

bool IsTransient(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

PtyGateway::PtyGateway(ConsoleEmulator& console, int masterFd, bool lineSpeed)
    : master_(masterFd),
      wire_(console, lineSpeed ? CharacterTime : std::chrono::nanoseconds::zero()) {}

bool PtyGateway::Run(const StopSignals& signals, QString& error) {
    while (!StopSignals::Requested()) {
        wire_.CatchUp(NowNs());
        if (!WriteToPc(error)) return false;
        pollfd terminal{master_, short(POLLIN | (unwritten_.isEmpty() ? 0 : POLLOUT)), 0};
        const timespec wait = WaitTime();
        const bool waitForEver = NothingDue() && !quietWorkDue_;
        const int ready = ppoll(&terminal, 1, waitForEver ? nullptr : &wait, &signals.WaitMask());
        if (ready < 0 && errno != EINTR) {
            error = SystemError("ppoll");
            return false;
        }
        if (ready > 0 && (terminal.revents & (POLLIN | POLLHUP | POLLERR)) && !ReadFromPc(error))
            return false;
        RunWhenQuiet();
    }
    return true;
}

bool PtyGateway::NothingDue() const { return !wire_.NextEventNs() && unwritten_.isEmpty(); }

void PtyGateway::NoteTraffic() {
    lastTrafficNs_ = NowNs();
    quietWorkDue_ = true;
}

void PtyGateway::RunWhenQuiet() {
    if (!quietWorkDue_ || !NothingDue()) return;
    if (NowNs() - lastTrafficNs_ < QuietNs) return;
    quietWorkDue_ = false;
    if (WhenQuiet) WhenQuiet();
}

bool PtyGateway::ReadFromPc(QString& error) {
    char buffer[4096];
    const ssize_t count = read(master_, buffer, sizeof buffer);
    if (count < 0 && !IsTransient(errno)) {
        error = SystemError("read");
        return false;
    }
    if (count <= 0) return true;
    NoteTraffic();
    const QByteArray bytes(buffer, count);
    if (Tracing) Trace.Received(NowNs() / 1000, bytes);
    wire_.SendFromPc(bytes, NowNs());
    return true;
}

bool PtyGateway::WriteToPc(QString& error) {
    if (unwritten_.isEmpty()) unwritten_ = wire_.ToPc().TakeArrived(NowNs());
    if (unwritten_.isEmpty()) return true;
    const ssize_t count = write(master_, unwritten_.constData(), size_t(unwritten_.size()));
    if (count < 0 && !IsTransient(errno)) {
        error = SystemError("write");
        return false;
    }
    if (count <= 0) return true;
    NoteTraffic();
    if (Tracing) Trace.Sent(NowNs() / 1000, unwritten_.left(count));
    unwritten_.remove(0, count);
    return true;
}

timespec PtyGateway::WaitTime() const {
    const uint64_t now = NowNs();
    const uint64_t next = wire_.NextEventNs().value_or(now);
    uint64_t waitNs = std::max(next > now ? next - now : 0, BatchNs);
    if (!unwritten_.isEmpty()) waitNs = std::max(waitNs, BlockedRetryNs);
    if (quietWorkDue_ && NothingDue()) {
        const uint64_t quietAt = lastTrafficNs_ + QuietNs;
        waitNs = std::max(quietAt > now ? quietAt - now : 0, BatchNs);
    }
    return {time_t(waitNs / 1'000'000'000), long(waitNs % 1'000'000'000)};
}

}  // namespace kv::sim
