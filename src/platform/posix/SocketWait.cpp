#include "platform/SocketWait.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace kv {

SocketWait WaitForSocketBytes(qintptr descriptor, int ms) {
    pollfd watched{int(descriptor), POLLIN, 0};
    const int ready = poll(&watched, 1, ms);
    // A wait cut short by a signal saw nothing: the caller asks its stop request and waits
    // again. Another failure is left to the read that follows, which tells the system's reason.
    if (ready == 0 || (ready < 0 && errno == EINTR)) return SocketWait::TimedOut;
    return SocketWait::Readable;
}

qint64 ReadWaitingSocketBytes(qintptr descriptor, char* into, qint64 size) {
    return recv(int(descriptor), into, size_t(size), MSG_DONTWAIT);
}

bool SocketWasReset(qintptr descriptor) {
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(int(descriptor), SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
           error == ECONNRESET;
}

}  // namespace kv
