#pragma once
// Which commands a probe tries, on which connection: the valid commands of every class in
// use, as the gateway would send them, each with the read that tries it.

#include <QList>
#include <QMap>
#include <QString>
#include <array>
#include <optional>

#include "config/GatewayConfig.h"
#include "modbus/ProbeRead.h"
#include "modbus/ProbeResult.h"
#include "platform/LineSettings.h"

namespace kv {

// A command and the read that tries it; without a read the result says why not.
struct PlannedProbe {
    ProbeResult Result;
    std::optional<ProbeRead> Read;
};

struct ServerAddress {
    QString Host;
    int Port = 502;
};

// The time-outs a class gives as 0 (none set) are these on the PC.
inline constexpr int UnsetConnTimeoutMs = 3000;
inline constexpr int UnsetCmdTimeoutMs = 1000;

struct TcpServerPlan {
    int ClassIndex = 0;
    ServerAddress Address;
    int ConnTimeoutMs = 0;
    int CmdTimeoutMs = 0;
    QList<PlannedProbe> Commands;
};

// Why the PC may probe a serial bus only while the gateway does not poll it.
inline constexpr const char* SerialBusHasOneMaster =
    "A serial bus has one master: while the gateway polls it, the PC's requests and the "
    "gateway's would collide and both would read garbage.";

// A serial class whose bus the PC reaches through a port of its own.
struct SerialBusPlan {
    int ClassIndex = 0;
    QString Device;      // the PC's port on that bus
    bool Ascii = false;  // Modbus ASCII; else RTU
    LineSettings Line;
    int CmdTimeoutMs = 0;
    QList<PlannedProbe> Commands;
};

struct ProbeSelection {
    std::optional<int> ClassIndex;
    std::optional<int> Instance;
    QMap<int, ServerAddress> Servers;  // by class index: an address in place of ServerIp
    QMap<int, QString> SerialDevices;  // by class index: the PC's port on that bus
};

struct ProbePlan {
    QList<TcpServerPlan> Servers;
    QList<SerialBusPlan> Buses;
    QList<ProbeResult> Unprobed;  // commands of the serial classes without a PC port
};

ProbePlan PlanProbes(const std::array<SerialClassRecord, SerialClassCount>& serialClasses,
                     const std::array<TcpClassRecord, TcpClassCount>& tcpClasses,
                     const ProbeSelection& selection);

// "HOST" or "HOST:PORT" ("[::1]:1502" for an IPv6 address with a port); nothing when the
// port is no number in 1..65535 or the host is empty.
std::optional<ServerAddress> ServerAddressOf(const QString& text);

}  // namespace kv
