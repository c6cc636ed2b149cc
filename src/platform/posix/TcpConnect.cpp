#include "platform/TcpConnect.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace kv {
namespace {

constexpr int StopAskedEveryMs = 100;

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

using Deadline = std::chrono::steady_clock::time_point;

// Waits for the connection under way on `socket` to be made or refused.
TcpConnection AwaitConnection(int socket, Deadline deadline, int timeoutMs,
                              const StopRequest& stop) {
    for (;;) {
        if (stop.Requested()) return {-1, QStringLiteral("stopped"), true};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return {-1, QStringLiteral("no connection within %1 ms").arg(timeoutMs)};
        pollfd watched{socket, POLLOUT, 0};
        const int ready = poll(&watched, 1, int(std::min<long long>(left, StopAskedEveryMs)));
        if (ready < 0 && errno != EINTR) return {-1, SystemReason(errno)};
        if (ready <= 0) continue;
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size);
        if (error != 0) return {-1, SystemReason(error)};
        return {socket, {}};
    }
}

// One of the addresses the host's name gave; the socket is closed unless connected.
TcpConnection ConnectTo(const addrinfo& address, Deadline deadline, int timeoutMs,
                        const StopRequest& stop) {
    const int socket = ::socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) return {-1, SystemReason(errno)};
    const int started = ::connect(socket, address.ai_addr, address.ai_addrlen);
    const int error = errno;
    TcpConnection connection = started == 0 ? TcpConnection{socket, {}}
                               : error == EINPROGRESS
                                   ? AwaitConnection(socket, deadline, timeoutMs, stop)
                                   : TcpConnection{-1, SystemReason(error)};
    if (connection.Descriptor < 0) ::close(socket);
    return connection;
}

}  // namespace

std::optional<TcpConnection> ConnectTcp(const QString& host, int port, int timeoutMs,
                                        const StopRequest& stop) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int resolved = getaddrinfo(host.toLocal8Bit().constData(),
                                     QByteArray::number(port).constData(), &hints, &found);
    if (resolved != 0) return TcpConnection{-1, QString::fromLocal8Bit(gai_strerror(resolved))};
    // A name may give several addresses ("localhost": ::1, then 127.0.0.1), and the server may
    // listen on only one: each is tried in turn within the one time-out, the last one's reason
    // told when none connects.
    const Deadline deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    TcpConnection connection;
    for (const addrinfo* address = found; address; address = address->ai_next) {
        connection = ConnectTo(*address, deadline, timeoutMs, stop);
        if (connection.Descriptor >= 0 || connection.Stopped ||
            std::chrono::steady_clock::now() >= deadline)
            break;
    }
    freeaddrinfo(found);
    if (connection.Descriptor < 0) return connection;
    // Each request is one small write: sent at once, not held back for more.
    const int on = 1;
    setsockopt(connection.Descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return connection;
}

}  // namespace kv
