#include "modbus/ProbePlan.h"

#include <algorithm>
#include <climits>

#include "config/ModbusReference.h"
#include "config/NumberText.h"

namespace kv {
namespace {

template <typename ClassRecord>
QList<PlannedProbe> PlannedCommands(int classIndex, const ClassRecord& record,
                                    const ProbeSelection& selection) {
    QList<PlannedProbe> planned;
    for (int slot = 0; slot < CommandCount(record); ++slot) {
        const ModbusCommand& command = record.Commands[size_t(slot)];
        if (command.Valid == 0 || (selection.Instance && *selection.Instance != slot + 1)) continue;
        const ProbeReadOrWhyNot read = ProbeReadOf(command);
        ProbeResult result{.ClassIndex = classIndex,
                           .Instance = slot + 1,
                           .FunctionCode = command.FunctionCode,
                           .ProbedWith = read.Read ? read.Read->Function : 0,
                           .Reference = ReferenceRangeText(command),
                           .Outcome = ProbeOutcome::NotProbed,
                           .ExceptionCode = 0,
                           .Values = {},
                           .Detail = read.WhyNot};
        planned.append({result, read.Read});
    }
    return planned;
}

int MillisecondsOr(double configured, int unset) {
    const int64_t ms = RoundHalfEven(configured);
    return ms <= 0 ? unset : int(std::min<int64_t>(ms, INT_MAX));
}

QString IpText(const std::array<uint8_t, 4>& ip) {
    return QStringLiteral("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}

// The class's port settings: Parity 0 none, 1 even, 2 odd; StopBits 1 or 2.
LineSettings LineOf(const SerialClassRecord& record) {
    const LineParity parities[] = {LineParity::None, LineParity::Even, LineParity::Odd};
    return {uint32_t(RoundHalfEven(record.Baud)), record.DataBits,
            record.Parity < 3 ? parities[record.Parity] : LineParity::None,
            record.StopBits == 2 ? LineStopBits::Two : LineStopBits::One};
}

}  // namespace

ProbePlan PlanProbes(const std::array<SerialClassRecord, SerialClassCount>& serialClasses,
                     const std::array<TcpClassRecord, TcpClassCount>& tcpClasses,
                     const ProbeSelection& selection) {
    const auto chosen = [&selection](int classIndex) {
        return !selection.ClassIndex || *selection.ClassIndex == classIndex;
    };
    ProbePlan plan;
    for (int bus = 0; bus < SerialClassCount; ++bus) {
        const SerialClassRecord& record = serialClasses[size_t(bus)];
        if (record.ConnMode == 0 || !chosen(bus)) continue;
        QList<PlannedProbe> commands = PlannedCommands(bus, record, selection);
        if (selection.SerialDevices.contains(bus)) {
            plan.Buses.append({bus, selection.SerialDevices.value(bus), record.ConnMode == 2,
                               LineOf(record), MillisecondsOr(record.CmdTimeout, UnsetCmdTimeoutMs),
                               commands});
            continue;
        }
        for (PlannedProbe& command : commands) {
            command.Result.ProbedWith = 0;
            command.Result.Detail = QStringLiteral("no PC port on that bus");
            plan.Unprobed.append(command.Result);
        }
    }
    for (int server = 0; server < TcpClassCount; ++server) {
        const TcpClassRecord& record = tcpClasses[size_t(server)];
        const int classIndex = SerialClassCount + server;
        if (record.ConnValid == 0 || !chosen(classIndex)) continue;
        plan.Servers.append({classIndex,
                             selection.Servers.value(classIndex, {IpText(record.ServerIp), 502}),
                             MillisecondsOr(record.ConnTimeout, UnsetConnTimeoutMs),
                             MillisecondsOr(record.CmdTimeout, UnsetCmdTimeoutMs),
                             PlannedCommands(classIndex, record, selection)});
    }
    return plan;
}

std::optional<ServerAddress> ServerAddressOf(const QString& text) {
    const qsizetype colon = text.lastIndexOf(u':');
    const bool bareIpv6 = text.count(u':') > 1 && !text.startsWith(u'[');
    if (colon < 0 || bareIpv6) {
        if (text.isEmpty()) return std::nullopt;
        return ServerAddress{text, 502};
    }
    bool number = false;
    const int port = text.sliced(colon + 1).toInt(&number);
    QString host = text.first(colon);
    if (host.startsWith(u'[') && host.endsWith(u']')) host = host.sliced(1, host.size() - 2);
    if (!number || port < 1 || port > 65535 || host.isEmpty()) return std::nullopt;
    return ServerAddress{host, port};
}

}  // namespace kv
