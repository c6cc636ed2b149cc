#include "platform/RoutedSerialPort.h"

#include <thread>

namespace kv {

PortOpenResult RoutedSerialPort::Open() {
    if (port_) port_->Close();
    OpenedPort opened = OpenPort(choice_);
    port_ = std::move(opened.Port);
    replyTimeoutMs_ = opened.ReplyTimeoutMs;
    return opened.Result;
}

// A wait with no port is slept, as a wait on a lost device is.
void RoutedSerialPort::WaitForData(std::chrono::microseconds maxWait) {
    if (port_)
        port_->WaitForData(maxWait);
    else
        std::this_thread::sleep_for(maxWait);
}

}  // namespace kv
