#include "eds/ClassCommands.h"

namespace kv {

namespace {

template <typename Record>
void AppendCommands(const Record& record, uint8_t classId, std::vector<ClassCommand>& out) {
    const int count = CommandCount(record);
    for (int slot = 0; slot < count; ++slot)
        out.push_back({classId, slot + 1, record.Commands[slot]});
}

}  // namespace

std::vector<ClassCommand> CommandsInUse(const GatewayConfig& config) {
    std::vector<ClassCommand> commands;
    for (int k = 0; k < SerialClassCount; ++k) {
        const SerialClassRecord& record = config.EditSerialClasses[k];
        if (record.ConnMode != 0) AppendCommands(record, ClassIdOf(k), commands);
    }
    for (int k = 0; k < TcpClassCount; ++k) {
        const TcpClassRecord& record = config.EditTcpClasses[k];
        if (record.ConnValid != 0)
            AppendCommands(record, ClassIdOf(SerialClassCount + k), commands);
    }
    return commands;
}

}  // namespace kv
