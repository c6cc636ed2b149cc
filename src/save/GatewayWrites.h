#pragma once
// What a write sends a gateway: the Ethernet console lines and the EEPROM runs of a
// configuration, all of them or only those that differ from what the gateway was read holding.

#include <QStringList>
#include <vector>

#include "config/EepromImage.h"
#include "config/GatewayConfig.h"

namespace kv {

struct GatewayWrites {
    QStringList EthernetCommands;  // "ip ...", "gateway ...", "mask ..."
    std::vector<EepromRun> Runs;   // in ConfigRuns' order
    bool empty() const { return EthernetCommands.isEmpty() && Runs.empty(); }
};

// Everything a full write of `config` sends, its classes from the editor's working copy and
// the poll paths from the save window's.
GatewayWrites AllWrites(const GatewayConfig& config, const ConnectionPaths& pollPaths);

// Of `writes`, the lines and runs whose values the gateway does not hold already, compared
// by command line and by block, address and bytes with `held` as a read-out filled it. A
// gateway never configured (no marker) holds no classes to compare: it gets everything.
GatewayWrites ChangedWrites(const GatewayWrites& writes, const GatewayConfig& held);

}  // namespace kv
