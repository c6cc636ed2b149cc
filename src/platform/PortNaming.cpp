#include "platform/PortNaming.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv {
namespace {

QString UserSuffix() {
#ifdef Q_OS_UNIX
    return QString::number(getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

bool IsUsbAdapter(const QString& fileName) {
    return fileName.startsWith(u"ttyUSB") || fileName.startsWith(u"ttyACM");
}

// Sorts "ttyS2" before "ttyS10": the trailing digits are compared as a number.
struct ComOrderKey {
    int Group = 0;
    QString Stem;
    qulonglong Number = 0;
    QString Path;

    explicit ComOrderKey(const QString& path) : Path(path) {
        const QString name = QFileInfo(path).fileName();
        Group = IsUsbAdapter(name) ? 0 : 1;
        qsizetype digitsFrom = name.size();
        while (digitsFrom > 0 && name.at(digitsFrom - 1).isDigit()) --digitsFrom;
        Stem = name.left(digitsFrom);
        Number = name.mid(digitsFrom).toULongLong();
    }
    bool operator<(const ComOrderKey& other) const {
        return std::tie(Group, Stem, Number, Path) <
               std::tie(other.Group, other.Stem, other.Number, other.Path);
    }
};

bool IsCharacterDevice(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
#else
    return QFileInfo::exists(path);
#endif
}

// The device a link in the port folder points to, empty when there is no usable link.
// The link is resolved so that the device's lock file is the same whichever name opens it.
QString LinkedDevice(int number) {
    const QFileInfo link(ComLinkPath(number));
    if (!link.exists()) return {};
    const QString device = link.canonicalFilePath();
    return IsCharacterDevice(device) ? device : QString();
}

QStringList PresentSerialPorts() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append(info.systemLocation());
    return SerialPortsInComOrder(devices);
}

QString StableNameOf(const QString& device) {
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& entry : byId.entryInfoList(QDir::System | QDir::Files)) {
        if (entry.canonicalFilePath() == device) return entry.absoluteFilePath();
    }
    return {};
}

ComPortEntry DescribeComPort(int number, const QString& device) {
    ComPortEntry entry;
    entry.Number = number;
    entry.Device = device;
    if (device.isEmpty()) return entry;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() == device || info.portName() == device) {
            entry.Description = info.description();
            entry.Manufacturer = info.manufacturer();
        }
    }
    entry.StableName = StableNameOf(device);
    return entry;
}

}  // namespace

QString PortFolder() {
    const QString chosen = qEnvironmentVariable("KV9052R_PORT_DIR");
    if (!chosen.isEmpty()) return chosen;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return runtime + QStringLiteral("/kv9052r");
    return QDir::tempPath() + QStringLiteral("/kv9052r-") + UserSuffix();
}

QString ComLinkPath(int number) {
    return PortFolder() + QStringLiteral("/COM") + QString::number(number);
}

QStringList SerialPortsInComOrder(QStringList devices) {
    std::sort(devices.begin(), devices.end(),
              [](const QString& a, const QString& b) { return ComOrderKey(a) < ComOrderKey(b); });
    return devices;
}

QString ResolveComPort(int number, const QStringList& portsInComOrder) {
    if (!IsComNumber(number)) return {};
#ifdef Q_OS_WIN
    Q_UNUSED(portsInComOrder);
    return QStringLiteral("COM") + QString::number(number);
#else
    const QString linked = LinkedDevice(number);
    if (!linked.isEmpty()) return linked;
    return portsInComOrder.value(number - 1);
#endif
}

QString ResolveComPort(int number) {
#ifdef Q_OS_WIN
    return ResolveComPort(number, {});
#else
    return ResolveComPort(number, PresentSerialPorts());
#endif
}

QList<ComPortEntry> ListComPorts() {
    const QStringList present = PresentSerialPorts();
    QList<ComPortEntry> entries;
    for (int number = 1; number <= ComPortCount; ++number)
        entries.append(DescribeComPort(number, ResolveComPort(number, present)));
    return entries;
}

}  // namespace kv
