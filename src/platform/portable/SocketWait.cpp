#include "platform/SocketWait.h"

namespace kv {

SocketWait WaitForSocketBytes(qintptr, int) { return SocketWait::NotWaited; }

bool SocketWasReset(qintptr) { return false; }

}  // namespace kv
