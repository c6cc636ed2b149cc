#include "platform/SocketWait.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace kv {

SocketWait WaitForSocketBytes(qintptr descriptor, int ms) {
    pollfd watched{int(descriptor), POLLIN, 0};
    return poll(&watched, 1, ms) == 0 ? SocketWait::TimedOut : SocketWait::Readable;
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
