#include "platform/PortIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>

#include "platform/FileSystem.h"
#include "platform/NetworkAddress.h"

namespace kv {
namespace {

QString NetworkIdentity(const NetworkAddress& address) {
    const QHostAddress ip(address.Host);
    const QString host = ip.isNull() ? address.Host.toLower() : ip.toString();
    return QStringLiteral("net %1 %2").arg(host).arg(address.Port);
}

}  // namespace

QString PortIdentity(const QString& deviceOrAddress) {
    if (LooksLikeNetworkAddress(deviceOrAddress)) {
        QString error;
        if (const auto address = ParseNetworkAddress(deviceOrAddress, error))
            return NetworkIdentity(*address);
        return deviceOrAddress;
    }
    return FileIdentity(deviceOrAddress);
}

}  // namespace kv
