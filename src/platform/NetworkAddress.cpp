#include "platform/NetworkAddress.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace kv {
namespace {

const QString Rfc2217Scheme = QStringLiteral("rfc2217://");
const QString SocketScheme = QStringLiteral("socket://");

bool IsIpv6(const QString& host) {
    QHostAddress address;
    return address.setAddress(host) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

// A host name (letters, digits, '-', '.') or an IPv4 address; labels of at most 63
// characters, as the name system allows.
bool IsHostName(const QString& host) {
    static const QRegularExpression name(
        QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?"
                       "(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\\.?$"));
    return host.size() <= 253 && name.match(host).hasMatch();
}

QString FormText() {
    return QStringLiteral(
        "a network port is rfc2217://HOST:PORT or socket://HOST:PORT, e.g. "
        "rfc2217://192.168.1.20:4001");
}

}  // namespace

QString NetworkAddress::HostAndPort() const {
    const QString host = Host.contains(u':') ? u'[' + Host + u']' : Host;
    return host + u':' + QString::number(Port);
}

QString NetworkAddress::Text() const {
    return (Protocol == NetworkProtocol::Rfc2217 ? Rfc2217Scheme : SocketScheme) + HostAndPort();
}

bool LooksLikeNetworkAddress(const QString& text) {
    return text.startsWith(Rfc2217Scheme, Qt::CaseInsensitive) ||
           text.startsWith(SocketScheme, Qt::CaseInsensitive);
}

std::optional<NetworkAddress> ParseNetworkAddress(const QString& text, QString& error) {
    NetworkAddress address;
    QString rest;
    if (text.startsWith(Rfc2217Scheme, Qt::CaseInsensitive)) {
        address.Protocol = NetworkProtocol::Rfc2217;
        rest = text.mid(Rfc2217Scheme.size());
    } else if (text.startsWith(SocketScheme, Qt::CaseInsensitive)) {
        rest = text.mid(SocketScheme.size());
    } else {
        error = QStringLiteral("%1 is no network port: %2").arg(text, FormText());
        return std::nullopt;
    }
    // The port follows the last ':', which an IPv6 address in brackets keeps apart.
    static const QRegularExpression hostAndPort(
        QStringLiteral("^(?:\\[([^\\]]+)\\]|([^:/\\[\\]]+)):(\\d{1,5})/?$"));
    const auto match = hostAndPort.match(rest);
    const QString host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    const int port = match.captured(3).toInt();
    const bool hostOk = match.captured(1).isEmpty() ? IsHostName(host) : IsIpv6(host);
    if (!match.hasMatch() || !hostOk || port < 1 || port > 65535) {
        error = QStringLiteral("%1 is no network port: %2 (PORT 1 to 65535)").arg(text, FormText());
        return std::nullopt;
    }
    address.Host = host;
    address.Port = quint16(port);
    return address;
}

}  // namespace kv
