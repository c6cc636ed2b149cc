#pragma once
// The devices of the program's session: the PC serial port (local or on the network) and the
// machine's clock, made on the session thread that uses them.

#include <memory>

#include "platform/RoutedSerialPort.h"
#include "platform/SteadyClock.h"
#include "session/GatewaySession.h"

namespace kv {

inline SessionDevices MakeSerialDevices() {
    return {std::make_shared<RoutedSerialPort>(), std::make_shared<SteadyClock>()};
}

}  // namespace kv
