#pragma once
// A TCP connection made by the system's own calls, for a library that takes the socket
// (posix/TcpConnect.cpp; portable/TcpConnect.cpp leaves connecting to the library). The
// wait asks the stop request every tenth of a second, so a stop never waits out a long
// connection time-out.

#include <QString>
#include <optional>

#include "console/StopRequest.h"

namespace kv {

struct TcpConnection {
    int Descriptor = -1;  // the connected socket, the caller's to close; -1 on failure
    QString Failure;      // the system's reason: "Connection refused", "no connection in 500 ms"
    bool Stopped = false;
};

// Connects to `host` (a name or an address) on `port` within `timeoutMs`; nothing where the
// platform leaves connecting to the library.
std::optional<TcpConnection> ConnectTcp(const QString& host, int port, int timeoutMs,
                                        const StopRequest& stop);

}  // namespace kv
