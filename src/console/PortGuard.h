#pragma once
// The one owner of the port for an operation: it opens the selected port with an empty
// receive buffer and closes it when the operation ends, whatever the outcome. Operations
// never close the port themselves. A port that was open already (held between transfers
// by the EEPROM copy window) is left open.

#include "platform/SerialPort.h"

namespace kv {

class PortGuard {
public:
    explicit PortGuard(SerialPort& port);
    ~PortGuard();
    PortGuard(const PortGuard&) = delete;
    PortGuard& operator=(const PortGuard&) = delete;

    const PortOpenResult& Opened() const { return opened_; }
    bool ok() const { return opened_.ok(); }
    // Leaves the port open when the guard ends: the EEPROM copy window holds it between
    // "Open COM" and "Close COM".
    void KeepOpen() { closeAtEnd_ = false; }

private:
    SerialPort& port_;
    PortOpenResult opened_;
    bool closeAtEnd_ = false;
};

}  // namespace kv
