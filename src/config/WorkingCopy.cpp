#include "config/WorkingCopy.h"

#include <algorithm>

namespace kv {

namespace {

int TcpIndex(int classIndex) { return classIndex - SerialClassCount; }

template <typename Record>
void CopyCommands(const Record& from, Record& to, int maxInstances) {
    to.CmdCount = static_cast<uint8_t>(std::min<int>(from.CmdCount, maxInstances));
    std::copy_n(from.Commands.begin(), to.CmdCount, to.Commands.begin());
}

}  // namespace

void MakeWorkingCopy(GatewayConfig& config) {
    DiscardWorkingCopy(config);
    for (int i = 0; i < SerialClassCount; ++i) {
        CopyClassAttributes(config.SerialClasses[i], config.EditSerialClasses[i]);
        CopyCommands(config.SerialClasses[i], config.EditSerialClasses[i], SerialCommandSlots);
    }
    for (int j = 0; j < TcpClassCount; ++j) {
        CopyClassAttributes(config.TcpClasses[j], config.EditTcpClasses[j]);
        CopyCommands(config.TcpClasses[j], config.EditTcpClasses[j], TcpCommandSlots);
    }
}

void DiscardWorkingCopy(GatewayConfig& config) {
    config.EditSerialClasses = {};
    config.EditTcpClasses = {};
}

bool WorkingCopyChanged(const GatewayConfig& config) {
    GatewayConfig asMade;
    asMade.SerialClasses = config.SerialClasses;
    asMade.TcpClasses = config.TcpClasses;
    MakeWorkingCopy(asMade);
    return asMade.EditSerialClasses != config.EditSerialClasses ||
           asMade.EditTcpClasses != config.EditTcpClasses;
}

ClassCommands EditClassCommands(GatewayConfig& config, int classIndex) {
    if (IsSerialClassIndex(classIndex)) {
        auto& record = config.EditSerialClasses[classIndex];
        return {record.CmdCount, record.Commands};
    }
    auto& record = config.EditTcpClasses[TcpIndex(classIndex)];
    return {record.CmdCount, record.Commands};
}

bool StoredConnectionOn(const GatewayConfig& config, int classIndex) {
    return IsSerialClassIndex(classIndex)
               ? config.EditSerialClasses[classIndex].ConnMode != 0
               : config.EditTcpClasses[TcpIndex(classIndex)].ConnValid != 0;
}

QString InstanceEntryText(int slot) {
    return QStringLiteral("         Instance  %1").arg(slot + 1);
}

QString ClassFullMessage(int classIndex) {
    return QStringLiteral("Support Maximun %1 Instances.").arg(MaxInstances(classIndex));
}

QString AddCommand(GatewayConfig& config, int classIndex, const CommandFieldTexts& fields) {
    auto commands = EditClassCommands(config, classIndex);
    if (commands.CmdCount + 1 > MaxInstances(classIndex)) return ClassFullMessage(classIndex);
    const auto check = CheckCommandFields(fields);
    if (!check.ok()) return check.Error;
    commands.Slots[commands.CmdCount] = check.Command;
    ++commands.CmdCount;
    return {};
}

QString UpdateCommand(GatewayConfig& config, int classIndex, int slot,
                      const CommandFieldTexts& fields) {
    auto commands = EditClassCommands(config, classIndex);
    const auto check = CheckCommandFields(fields);
    if (!check.ok()) return check.Error;
    if (slot < 0 || slot >= commands.CmdCount)
        return QStringLiteral("Select an instance to update.");
    commands.Slots[slot] = check.Command;
    return {};
}

void DeleteCommand(GatewayConfig& config, int classIndex, int slot) {
    auto commands = EditClassCommands(config, classIndex);
    const int count = commands.CmdCount;
    if (slot < 0 || slot >= count) return;
    std::copy(commands.Slots.begin() + slot + 1, commands.Slots.begin() + count,
              commands.Slots.begin() + slot);
    commands.Slots[count - 1] = ModbusCommand{};
    --commands.CmdCount;
}

void StoreSerialClassAttributes(GatewayConfig& config, int classIndex,
                                const SerialClassAttributes& attributes) {
    CopyClassAttributes(attributes, config.EditSerialClasses[classIndex]);
}

void StoreTcpClassAttributes(GatewayConfig& config, int classIndex,
                             const TcpClassAttributes& attributes) {
    CopyClassAttributes(attributes, config.EditTcpClasses[TcpIndex(classIndex)]);
}

}  // namespace kv
