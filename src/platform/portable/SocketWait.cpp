#include "platform/SocketWait.h"

#include <cerrno>

namespace kv {

SocketWait WaitForSocketBytes(qintptr, int) { return SocketWait::NotWaited; }

qint64 ReadWaitingSocketBytes(qintptr, char*, qint64) {
    errno = ENOSYS;
    return -1;
}

bool SocketWasReset(qintptr) { return false; }

}  // namespace kv
