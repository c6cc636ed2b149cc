#pragma once
// A gateway reached over the network through a serial port server: "rfc2217://HOST:PORT" (a
// telnet port that sets the line itself, RFC 2217) or "socket://HOST:PORT" (raw TCP, the
// line set at the server). HOST is a name, an IPv4 address or an IPv6 address in brackets.

#include <QString>
#include <optional>

namespace kv {

enum class NetworkProtocol { Rfc2217, RawTcp };

struct NetworkAddress {
    NetworkProtocol Protocol = NetworkProtocol::RawTcp;
    QString Host;  // without brackets
    quint16 Port = 0;

    // "HOST:PORT", with brackets around an IPv6 address.
    QString HostAndPort() const;
    // The address as it is written, "rfc2217://HOST:PORT".
    QString Text() const;
};

// Whether `text` is meant as a network address (starts with one of the schemes), so that a
// bad one is reported as such rather than taken for a device path.
bool LooksLikeNetworkAddress(const QString& text);

// The address `text` names; empty with the reason in `error` when it names none.
std::optional<NetworkAddress> ParseNetworkAddress(const QString& text, QString& error);

}  // namespace kv
