#include "eds/DefaultConnectionIndex.h"

#include "eds/ClassCommands.h"

namespace kv {

namespace {

constexpr int EthernetEntries = 3;
constexpr int FirstEntry = 1;

}  // namespace

int DefaultConnectionIndex(const GatewayConfig& config, const std::array<uint8_t, 3>& path,
                           PollDirection direction) {
    const uint8_t classId = path[0];
    const int instance = path[1];
    if (classId == ParameterObjectClass) return path[2];
    // The entry writer skips commands whose Valid is 0; the editor keeps the used slots
    // packed and valid, so counting without it numbers the same entries.
    int counted = EthernetEntries;
    for (const ClassCommand& entry : CommandsInUse(config)) {
        if (CarriesDirection(entry.Command.FunctionCode, direction)) ++counted;
        if (entry.ClassId == classId && entry.Instance == instance) return counted;
    }
    return FirstEntry;
}

}  // namespace kv
