#include "console/PortGuard.h"

namespace kv {

PortGuard::PortGuard(SerialPort& port) : port_(port) {
    if (port_.IsOpen()) return;
    opened_ = port_.Open();
    if (!opened_.ok()) return;
    closeAtEnd_ = true;
    // Whatever the gateway sent before would be taken for the first reply.
    port_.ClearReceiveBuffer();
}

PortGuard::~PortGuard() {
    if (closeAtEnd_) port_.Close();
}

}  // namespace kv
