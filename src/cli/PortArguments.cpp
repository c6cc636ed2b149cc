#include "cli/PortArguments.h"

#include <QFileInfo>
#include <QHash>

#include "platform/NetworkAddress.h"
#include "platform/PortNaming.h"

namespace kv::cli {

bool NamesAPort(const QString& argument) {
    if (argument.startsWith(u"/dev/") || LooksLikeNetworkAddress(argument)) return true;
    return ComNumberOf(argument) != 0 && !QFileInfo(argument).isFile();
}

QStringList PortsOf(const QCommandLineParser& args) {
    QStringList ports;
    for (const QString& value : args.values(QStringLiteral("port")))
        for (const QString& port : value.split(u',', Qt::SkipEmptyParts))
            if (!port.trimmed().isEmpty()) ports.append(port.trimmed());
    return ports;
}

int NoPortGiven(QTextStream& err) {
    err << "No port given: use --port COM3, --port 3, --port /dev/ttyUSB0 or "
           "--port rfc2217://HOST:PORT\n";
    return 2;
}

// A port named twice, in any spelling, would be opened twice at once, the second time finding
// it occupied by the first, and its output files would overwrite each other.
int CheckPorts(const QStringList& ports, QTextStream& err) {
    if (ports.isEmpty()) return NoPortGiven(err);
    QHash<QString, QString> named;  // as first named, by PortKey
    for (const QString& port : ports) {
        QString error;
        if (LooksLikeNetworkAddress(port) && !ParseNetworkAddress(port, error)) {
            err << error << "\n";
            return 2;
        }
        const QString key = PortKey(port);
        if (named.contains(key)) {
            err << named.value(key) << " and " << port << " are one port: name each port once.\n";
            return 2;
        }
        named.insert(key, port);
    }
    return 0;
}

}  // namespace kv::cli
