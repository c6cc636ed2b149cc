#include "platform/PortNaming.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <algorithm>
#include <tuple>

#include "platform/FileSystem.h"
#include "platform/LimitedFile.h"
#include "platform/NetworkAddress.h"
#include "platform/PortAssignments.h"
#include "platform/PortIdentity.h"
#include "platform/WholeFile.h"

namespace kv {
namespace {

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

// The device a link in the port folder points to. The link is resolved so that the
// device's lock file is the same whichever name opens it. A link that leads to no device
// (an unplugged adapter) is a port that does not open, never a reason to fall back to
// another port, where the write sequences would reach whatever device sits there.
ComResolution LinkedDevice(int number) {
    const QFileInfo link(ComLinkPath(number));
    if (!link.isSymLink() && !link.exists()) return {};
    const QString device = link.canonicalFilePath();
    if (!IsCharacterDevice(device)) return {QString(), ComSource::BrokenLink};
    return {device, ComSource::PortFolder};
}

// An assigned device resolved like a link; as given when it is not there now, so that the
// port fails to open rather than moving to another device, and when it is a network address.
QString AssignedDeviceNow(const QString& assigned) {
    if (assigned.isEmpty() || LooksLikeNetworkAddress(assigned)) return assigned;
    const QString device = QFileInfo(assigned).canonicalFilePath();
    return device.isEmpty() ? assigned : device;
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

ComPortEntry DescribeComPort(int number, const ComResolution& resolved) {
    const QString& device = resolved.Device;
    ComPortEntry entry;
    entry.Number = number;
    entry.Device = device;
    entry.Source = resolved.Source;
    if (resolved.Source == ComSource::RefusedAssignment)
        entry.Refusal = AssignmentOf(number).Refused;
    if (device.isEmpty() || resolved.Source == ComSource::NetworkAssignment) return entry;
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

QString AssignmentFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kv9052r/ports.conf");
}

namespace {

// The assignments file's text, empty when there is none; false with the reason when it
// cannot be read (a folder, a device, more than the input limit).
bool ReadAssignments(QByteArray& text, QString& error) {
    const QString path = AssignmentFile();
    if (!QFileInfo::exists(path)) return true;
    if (const QString failed = ReadLimitedFile(path, text); !failed.isEmpty()) {
        error = QStringLiteral("Can't read %1: %2").arg(path, failed);
        return false;
    }
    return true;
}

// A line of the file refused, as the user reads it.
QString RefusalText(const QString& refused) {
    return QStringLiteral("%1 %2; mend the line or assign the port again.")
        .arg(AssignmentFile(), refused);
}

// Sets COM n's lines, or removes them for an empty `device`; the file is replaced whole, or
// stays as it was.
bool ChangeAssignment(int number, const QString& device, QString& error, int replyTimeoutMs = 0) {
    QByteArray text;
    if (!ReadAssignments(text, error)) return false;
    if (device.isEmpty() && AssignmentIn(text, DeviceKey(number)).isEmpty()) {
        error = QStringLiteral("COM %1 is not assigned").arg(number);
        return false;
    }
    const QString path = AssignmentFile();
    QString failed =
        QDir().mkpath(QFileInfo(path).path()) ? QString() : QStringLiteral("no folder for it");
    if (failed.isEmpty())
        failed = WriteWholeFile(
            path,
            WithAssignment(WithAssignment(text, DeviceKey(number), device), ReplyTimeoutKey(number),
                           replyTimeoutMs > 0 ? QString::number(replyTimeoutMs) : QString()));
    if (failed.isEmpty()) return true;
    error = QStringLiteral("Can't write %1: %2").arg(path, failed);
    return false;
}

}  // namespace

QString AssignedDevice(int number) { return AssignmentOf(number).Device; }

ComAssignment AssignmentOf(int number) {
    QByteArray text;
    QString error;
    if (!IsComNumber(number)) return {};
    if (!ReadAssignments(text, error)) return {{}, 0, error};
    ComAssignment assigned = ComAssignmentIn(text, number);
    if (!assigned.Refused.isEmpty()) assigned.Refused = RefusalText(assigned.Refused);
    return assigned;
}

QString ComPortText(int number) {
    const QString device = ResolveComPort(number);
    return device.isEmpty() ? QStringLiteral("COM %1").arg(number)
                            : QStringLiteral("COM %1 (%2)").arg(number).arg(device);
}

int ComAssignedTo(const QString& device) {
    const QString wanted = PortIdentity(device.trimmed());
    for (int number = 1; number <= ComPortCount; ++number) {
        const QString assigned = AssignedDevice(number);
        if (!assigned.isEmpty() && PortIdentity(assigned) == wanted) return number;
    }
    return 0;
}

bool AssignComPort(int number, const QString& device, QString& error, int replyTimeoutMs) {
    if (!IsComNumber(number)) {
        error = QStringLiteral("Ports are COM 1 to COM %1").arg(ComPortCount);
        return false;
    }
    if (LooksLikeNetworkAddress(device)) {
        const auto address = ParseNetworkAddress(device, error);
        return address && ChangeAssignment(number, address->Text(), error, replyTimeoutMs);
    }
    if (!ControlCharacterIn(device).isEmpty() ||
        !IsCharacterDevice(QFileInfo(device).canonicalFilePath())) {
        error = QStringLiteral("%1 is no device").arg(device);
        return false;
    }
    return ChangeAssignment(number, QFileInfo(device).absoluteFilePath(), error, replyTimeoutMs);
}

bool UnassignComPort(int number, QString& error) { return ChangeAssignment(number, {}, error); }

QString ComSourceText(ComSource source) {
    switch (source) {
        case ComSource::Assignment:
            return QStringLiteral("assigned");
        case ComSource::NetworkAssignment:
            return QStringLiteral("network port, assigned");
        case ComSource::PortFolder:
            return QStringLiteral("port folder link");
        case ComSource::BrokenLink:
            return QStringLiteral("port folder link to no device");
        case ComSource::UnreadableAssignments:
            return QStringLiteral("%1 cannot be read").arg(AssignmentFile());
        case ComSource::RefusedAssignment:
            return QStringLiteral("assignment refused");
        case ComSource::PortsPresent:
            return QStringLiteral("port present");
        case ComSource::None:
            break;
    }
    return {};
}

QStringList SerialPortsInComOrder(QStringList devices) {
    std::sort(devices.begin(), devices.end(),
              [](const QString& a, const QString& b) { return ComOrderKey(a) < ComOrderKey(b); });
    return devices;
}

namespace {

// COM n as the user's assignment or the port folder names it; Source None when neither does.
ComResolution NamedComPort(int number) {
    // An assignment that cannot be read may be this port's: falling back to a link or a port
    // present could reach another gateway.
    QByteArray assignments;
    if (QString unread; !ReadAssignments(assignments, unread))
        return {QString(), ComSource::UnreadableAssignments};
    const ComAssignment assignment = ComAssignmentIn(assignments, number);
    if (!assignment.Refused.isEmpty()) return {QString(), ComSource::RefusedAssignment};
    const QString assigned = AssignedDeviceNow(assignment.Device);
    if (LooksLikeNetworkAddress(assigned)) return {assigned, ComSource::NetworkAssignment};
    if (!assigned.isEmpty()) return {assigned, ComSource::Assignment};
    return LinkedDevice(number);
}

ComResolution PresentComPort(int number, const QStringList& portsInComOrder) {
    const QString present = portsInComOrder.value(number - 1);
    return {present, present.isEmpty() ? ComSource::None : ComSource::PortsPresent};
}

}  // namespace

ComResolution ResolveComPortAndSource(int number, const QStringList& portsInComOrder) {
    if (!IsComNumber(number)) return {};
#ifdef Q_OS_WIN
    Q_UNUSED(portsInComOrder);
    return {QStringLiteral("COM") + QString::number(number), ComSource::PortsPresent};
#else
    const ComResolution named = NamedComPort(number);
    return named.Source != ComSource::None ? named : PresentComPort(number, portsInComOrder);
#endif
}

QString ResolveComPort(int number, const QStringList& portsInComOrder) {
    return ResolveComPortAndSource(number, portsInComOrder).Device;
}

// The serial ports present are looked for only when nothing names COM n: the scan reads
// every port's system files, and the port folder of a virtual gateway names its own.
QString ResolveComPort(int number) {
#ifdef Q_OS_WIN
    return ResolveComPort(number, {});
#else
    if (!IsComNumber(number)) return {};
    const ComResolution named = NamedComPort(number);
    if (named.Source != ComSource::None) return named.Device;
    return PresentComPort(number, PresentSerialPorts()).Device;
#endif
}

QList<ComPortEntry> ListComPorts() {
    const QStringList present = PresentSerialPorts();
    QList<ComPortEntry> entries;
    for (int number = 1; number <= ComPortCount; ++number)
        entries.append(DescribeComPort(number, ResolveComPortAndSource(number, present)));
    return entries;
}

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

}  // namespace kv
