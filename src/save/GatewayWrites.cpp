#include "save/GatewayWrites.h"

#include <algorithm>

#include "config/EepromCodec.h"
#include "save/ConsoleWrites.h"

namespace kv {

namespace {

// The commands a read-out reads of a class: a count it does not believe reads none, so
// those slots' bytes are not known.
template <typename Record>
int CommandsRead(const Record& record) {
    return eeprom::CommandsToRead(record.CmdCount, int(record.Commands.size()));
}

// Of class k, serial classes first.
int CommandsRead(const GatewayConfig& held, int k) {
    return k < SerialClassCount ? CommandsRead(held.SerialClasses[k])
                                : CommandsRead(held.TcpClasses[k - SerialClassCount]);
}

// The runs whose bytes the read-out saw, as it decoded them.
std::vector<EepromRun> RunsRead(const GatewayConfig& held) {
    std::vector<EepromRun> runs = eeprom::ConfigRuns(held, eeprom::ClassRecords::Read);
    std::erase_if(runs, [&held](const EepromRun& run) {
        return run.Part.What == RunPart::Command &&
               run.Part.Slot >= CommandsRead(held, run.Part.Index);
    });
    return runs;
}

bool SameRun(const EepromRun& a, const EepromRun& b) {
    return a.Block == b.Block && a.Address == b.Address && a.Bytes == b.Bytes;
}

}  // namespace

GatewayWrites AllWrites(const GatewayConfig& config, const ConnectionPaths& pollPaths) {
    GatewayConfig saved = config;
    saved.ConnectionPaths = pollPaths;
    return {EthernetCommands(config.EthernetParams),
            eeprom::ConfigRuns(saved, eeprom::ClassRecords::Edited)};
}

GatewayWrites ChangedWrites(const GatewayWrites& writes, const GatewayConfig& held) {
    if (held.ConfigMarker != ConfigMarkerValid) return writes;
    GatewayWrites changed;
    const QStringList heldLines = EthernetCommands(held.EthernetParams);
    for (const QString& line : writes.EthernetCommands)
        if (!heldLines.contains(line)) changed.EthernetCommands.append(line);
    const std::vector<EepromRun> read = RunsRead(held);
    for (const EepromRun& run : writes.Runs)
        if (std::none_of(read.begin(), read.end(),
                         [&run](const EepromRun& r) { return SameRun(r, run); }))
            changed.Runs.push_back(run);
    return changed;
}

}  // namespace kv
