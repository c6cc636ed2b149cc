#include "config/ConfigWarnings.h"

#include <bit>
#include <optional>

#include "config/MemoryOverlaps.h"
#include "config/NumberText.h"
#include "config/ParameterChecks.h"
#include "config/WorkingCopy.h"

namespace kv {
namespace {

constexpr uint8_t ModbusRtu = 1;
constexpr uint8_t ConnModeNone = 0;

QString ClassPath(int classIndex) {
    return IsSerialClassIndex(classIndex)
               ? QStringLiteral("SerialClasses[%1]").arg(classIndex)
               : QStringLiteral("TcpClasses[%1]").arg(classIndex - SerialClassCount);
}

std::optional<uint32_t> AddressBits(const QString& text) {
    if (!IsValidIpText(text)) return std::nullopt;
    uint32_t bits = 0;
    for (const QStringView part : QStringView(text).split(u'.'))
        bits = (bits << 8) | ReadDecimalByte(part).value_or(0);
    return bits;
}

void PortWarnings(const GatewayConfig& config, QStringList& warnings) {
    for (int k = 0; k < SerialClassCount; ++k) {
        const SerialClassRecord& port = config.SerialClasses[k];
        // RTU frames are 8-bit binary; a device never understands them over 7 data bits.
        if (port.ConnMode == ModbusRtu && port.DataBits == 7)
            warnings << ClassPath(k) + QStringLiteral(
                                           ".DataBits: Modbus RTU needs 8 data bits; with 7 the "
                                           "port cannot talk to its devices");
        if (port.ConnMode == ConnModeNone && port.CmdCount > 0)
            warnings << ClassPath(k) +
                            QStringLiteral(".ConnMode: NONE, so the gateway ignores the class's ") +
                            CountText(port.CmdCount, "command");
    }
}

void MaskWarning(const EthernetParams& ethernet, QStringList& warnings) {
    const std::optional<uint32_t> mask = AddressBits(ethernet.Mask);
    if (!mask) return;  // the checks refuse it
    if (*mask == 0)
        warnings << QStringLiteral("EthernetParams.Mask: 0.0.0.0 is no network mask");
    else if (std::countl_one(*mask) + std::countr_zero(*mask) != 32)
        warnings << QStringLiteral(
                        "EthernetParams.Mask: %1 is no network mask: its one-bits are not "
                        "contiguous")
                        .arg(ethernet.Mask);
}

void OverlapWarnings(const GatewayConfig& config, QStringList& warnings) {
    GatewayConfig working = config;
    MakeWorkingCopy(working);
    for (const MemoryOverlap& overlap : FindMemoryLayout(working).Overlaps)
        warnings << QStringLiteral("%1.Commands[%2].MemAddress: %3")
                        .arg(ClassPath(overlap.B.ClassIndex))
                        .arg(overlap.B.Slot)
                        .arg(OverlapText(overlap));
}

}  // namespace

QStringList ConfigWarnings(const GatewayConfig& config) {
    QStringList warnings;
    PortWarnings(config, warnings);
    MaskWarning(config.EthernetParams, warnings);
    OverlapWarnings(config, warnings);
    return warnings;
}

}  // namespace kv
