#pragma once
// The one way to a serial port: what the user names (COM n, a device path, a network
// address) resolved as it stands now (an assignment, a port folder link, the ports present,
// PortNaming.h) and made into a local or a network port with the console's line settings.

#include <QString>
#include <memory>

#include "platform/LineSettings.h"
#include "platform/SerialPort.h"

namespace kv {

struct PortChoice {
    int ComNumber = 0;  // 1..16; 0 when Named names the port
    QString Named;      // a device path or a network address

    static PortChoice Com(int number) { return {number, {}}; }
    static PortChoice Device(const QString& nameOrAddress) { return {0, nameOrAddress}; }
};

struct OpenedPort {
    std::unique_ptr<SerialPort> Port;  // also when it did not open: it says why it was lost
    PortOpenResult Result;             // not ok: the port is not open
    int ReplyTimeoutMs = 0;            // kept with COM n's assignment; 0 when none is
};

// Resolves `choice` and opens the port behind it. A refused assignment, an address that is
// none and a network port that does not open are told under "Can't open COM n!" for COM n.
OpenedPort OpenPort(const PortChoice& choice, const LineSettings& line = ConsoleLine);

}  // namespace kv
