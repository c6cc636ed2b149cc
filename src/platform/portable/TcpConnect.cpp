#include "platform/TcpConnect.h"

namespace kv {

std::optional<TcpConnection> ConnectTcp(const QString&, int, int, const StopRequest&) {
    return std::nullopt;
}

}  // namespace kv
