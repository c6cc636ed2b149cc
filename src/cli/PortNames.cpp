#include "cli/PortNames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/NetworkAddress.h"
#include "platform/PortIdentity.h"
#include "platform/PortNaming.h"

namespace kv::cli {

int ComNumberOf(const QString& argument) {
    static const QRegularExpression comPattern(QStringLiteral("^(?:COM\\s*)?(\\d{1,2})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const auto match = comPattern.match(argument.trimmed());
    if (!match.hasMatch()) return 0;
    const int number = match.captured(1).toInt();
    return IsComNumber(number) ? number : -1;
}

QString PortKey(const QString& port) {
    const int number = ComNumberOf(port);
    if (number == 0) return PortIdentity(port.trimmed());
    if (number < 0) return port.trimmed().toUpper();  // no port at all, refused when opened
    const QString device = ResolveComPort(number);
    return device.isEmpty() ? QStringLiteral("COM%1").arg(number) : PortIdentity(device);
}

QString PortFileStem(const QString& port) {
    const int number = ComNumberOf(port);
    if (number > 0) return QStringLiteral("COM%1").arg(number);
    // ':' and '/' have no place in a file name; the host and port tell the gateways apart.
    QString error;
    if (const auto address = ParseNetworkAddress(port, error))
        return QString(address->Host).replace(u':', u'_') + u'-' + QString::number(address->Port);
    // A device below /dev goes by the whole of its name there ("pts-4"): its file name
    // alone says less, and another folder's device may carry it too.
    const QString devices = QStringLiteral("/dev/");
    const QString path = QDir::cleanPath(port);
    if (path.startsWith(devices)) return path.mid(devices.size()).replace(u'/', u'-');
    return QFileInfo(port).fileName();
}

}  // namespace kv::cli
