#include "platform/OpenPort.h"

#include "platform/NetworkAddress.h"
#include "platform/NetworkSerialPort.h"
#include "platform/PortNaming.h"
#include "platform/QtSerialPort.h"

namespace kv {
namespace {

QString CantOpenCom(int number) { return QStringLiteral("Can't open COM %1!\n").arg(number); }

OpenedPort OpenNetwork(const QString& address, const LineSettings& line) {
    QString error;
    const std::optional<NetworkAddress> parsed = ParseNetworkAddress(address, error);
    if (!parsed) return {nullptr, {PortOpenError::Other, error}};
    OpenedPort opened{std::make_unique<NetworkSerialPort>(*parsed, line), {}};
    opened.Result = opened.Port->Open();
    return opened;
}

OpenedPort OpenLocal(const QString& device, const QString& shownName, const LineSettings& line) {
    OpenedPort opened{std::make_unique<QtSerialPort>(device, shownName, line), {}};
    opened.Result = opened.Port->Open();
    return opened;
}

OpenedPort OpenCom(int number, const LineSettings& line) {
    const ComAssignment assigned = AssignmentOf(number);
    // A refused line may have been meant for this port: no other device is tried in its place.
    if (!assigned.Refused.isEmpty())
        return {nullptr, {PortOpenError::Other, CantOpenCom(number) + assigned.Refused, true}};
    if (LooksLikeNetworkAddress(assigned.Device)) {
        // A network port that fails to open is told as a local one would be.
        OpenedPort opened = OpenNetwork(assigned.Device, line);
        if (!opened.Result.ok()) {
            opened.Result.Text.prepend(CantOpenCom(number));
            opened.Result.Worded = true;
        }
        opened.ReplyTimeoutMs = assigned.ReplyTimeoutMs;
        return opened;
    }
    const QString device = ResolveComPort(number);
    if (device.isEmpty())
        return {
            nullptr,
            {PortOpenError::NotOpened, QStringLiteral("No device is behind COM %1.").arg(number)},
            assigned.ReplyTimeoutMs};
    OpenedPort opened = OpenLocal(device, QStringLiteral("COM %1").arg(number), line);
    opened.ReplyTimeoutMs = assigned.ReplyTimeoutMs;
    return opened;
}

}  // namespace

OpenedPort OpenPort(const PortChoice& choice, const LineSettings& line) {
    if (choice.ComNumber > 0) return OpenCom(choice.ComNumber, line);
    if (LooksLikeNetworkAddress(choice.Named)) return OpenNetwork(choice.Named, line);
    return OpenLocal(choice.Named, choice.Named, line);
}

}  // namespace kv
