#pragma once
// What a port is, whatever way it is written, so that a port named twice is found before it
// is opened twice (a serial port server, or the port's lock, lets one of the two in; which
// one is a race).

#include <QString>

namespace kv {

// One text for each port. A network address: its host (a name in lower case, an IP address
// in its usual form) and its port number; the scheme does not count, a server's TCP port
// serves one serial line however it is spoken to. A device: the device itself, reached
// through any link or name. Any other path: the path, made absolute and clean.
QString PortIdentity(const QString& deviceOrAddress);

}  // namespace kv
