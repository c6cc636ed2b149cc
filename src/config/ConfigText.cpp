#include "config/ConfigText.h"

#include <QStringList>

#include "config/FirmwareText.h"
#include "config/GatewayFacts.h"
#include "config/NumberText.h"
#include "config/ViewRows.h"

namespace kv {
namespace {

// The text of a coded value, or the bare number when the code is not one the gateway uses.
QString CodeText(int code, const QStringList& texts) {
    return code >= 0 && code < texts.size() ? texts[code]
                                            : QStringLiteral("unknown (%1)").arg(code);
}

// A DeviceNet class number as the gateway's documents write it: 0x64 .. 0x6A.
QString ClassIdText(int classId) { return QStringLiteral("0x") + HexByteText(uint8_t(classId)); }

QString PathText(const std::array<uint8_t, 3>& path) {
    return QStringLiteral("class %1, instance %2, attribute %3")
        .arg(ClassIdText(path[0]))
        .arg(path[1])
        .arg(path[2]);
}

QString CommandText(int slot, const ModbusCommand& command) {
    return QStringLiteral(
               "    Instance %1: valid %2, Modbus ID %3, function %4, memory %5, "
               "start %6, length %7\n")
        .arg(slot + 1)
        .arg(command.Valid)
        .arg(command.NetId)
        .arg(command.FunctionCode)
        .arg(WholeNumberText(command.MemAddress), WholeNumberText(command.StartAddress))
        .arg(command.Length);
}

template <typename Record>
QString CommandsText(const Record& record) {
    QString text;
    for (int slot = 0; slot < CommandCount(record); ++slot)
        text += CommandText(slot, record.Commands[slot]);
    return text;
}

QString PortText(int port, const SerialClassRecord& record) {
    static const QStringList parity = {"NONE", "EVEN", "ODD"};
    return QStringLiteral("COM%1: %2 bit/s, data bits %3, parity %4, stop bits %5, check byte %6\n")
        .arg(port + 1)
        .arg(WholeNumberText(record.Baud))
        .arg(record.DataBits)
        .arg(CodeText(record.Parity, parity))
        .arg(record.StopBits)
        .arg(record.PortChecksum);
}

QString SerialClassText(int index, const SerialClassRecord& record) {
    static const QStringList modes = {"none", "Modbus RTU", "Modbus ASCII"};
    return QStringLiteral(
               "Class %1 (COM%2 Modbus master): mode %3, command time-out %4, commands %5\n")
               .arg(ClassIdText(ClassIdOf(index)))
               .arg(index + 1)
               .arg(CodeText(record.ConnMode, modes), WholeNumberText(record.CmdTimeout))
               .arg(record.CmdCount) +
           CommandsText(record);
}

QString TcpClassText(int index, const TcpClassRecord& record) {
    static const QStringList used = {"NO", "YES"};
    return QStringLiteral(
               "Class %1 (Modbus TCP connection %2): used %3, server %4, "
               "connection time-out %5, retry time-out %6, command time-out %7, commands %8\n")
               .arg(ClassIdText(ClassIdOf(SerialClassCount + index)))
               .arg(index + 1)
               .arg(CodeText(record.ConnValid, used), ServerIpText(record.ServerIp),
                    WholeNumberText(record.ConnTimeout), WholeNumberText(record.RetryConnTimeout),
                    WholeNumberText(record.CmdTimeout))
               .arg(record.CmdCount) +
           CommandsText(record);
}

}  // namespace

QString FormatConfigText(const GatewayConfig& config) {
    static const QStringList deviceNetBauds = {"125 kbit/s", "250 kbit/s", "500 kbit/s"};
    const DeviceNetParams& deviceNet = config.DeviceNetParams;
    const EthernetParams& ethernet = config.EthernetParams;
    QString text = QStringLiteral("Firmware: %1\n").arg(FirmwareVersionText(config.FirmwareInfo));
    text += QStringLiteral("DeviceNet: node ID %1, %2\n")
                .arg(deviceNet.NodeId)
                .arg(CodeText(deviceNet.BaudIndex, deviceNetBauds));
    text += QStringLiteral("Ethernet: IP %1, mask %2, gateway %3\n")
                .arg(ethernet.Ip, ethernet.Mask, ethernet.Gateway);
    for (int port = 0; port < SerialClassCount; ++port)
        text += PortText(port, config.SerialClasses[port]);
    text += QStringLiteral("Poll produced path: %1\n")
                .arg(PathText(config.ConnectionPaths.PollProduce));
    text += QStringLiteral("Poll consumed path: %1\n")
                .arg(PathText(config.ConnectionPaths.PollConsume));
    if (config.ConfigMarker != ConfigMarkerValid) {
        text +=
            QStringLiteral("No Modbus configuration stored (marker %1)\n").arg(config.ConfigMarker);
        return text;
    }
    for (int index = 0; index < SerialClassCount; ++index)
        text += SerialClassText(index, config.SerialClasses[index]);
    for (int index = 0; index < TcpClassCount; ++index)
        text += TcpClassText(index, config.TcpClasses[index]);
    return text;
}

}  // namespace kv
