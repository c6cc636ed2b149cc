#pragma once
// The system's own view of a network port's socket, where the platform has one
// (posix/SocketWait.cpp, portable/SocketWait.cpp): Qt reads a reset connection as one the
// server closed, and its wait reads the bytes itself.

#include <QtGlobal>

namespace kv {

enum class SocketWait { Readable, TimedOut, NotWaited };

// Waits up to `ms` for bytes on `descriptor` without reading them (TimedOut also when a
// signal cut the wait short); NotWaited where the platform leaves the wait to Qt.
SocketWait WaitForSocketBytes(qintptr descriptor, int ms);
// Reads up to `size` bytes already waiting on `descriptor`, without blocking: how many, 0
// when the peer closed the connection, -1 with errno set (EAGAIN when none were waiting).
qint64 ReadWaitingSocketBytes(qintptr descriptor, char* into, qint64 size);
// Whether the server reset the connection on `descriptor`; false where the platform cannot
// tell.
bool SocketWasReset(qintptr descriptor);

}  // namespace kv
