#include "platform/PortHolder.h"

#include "platform/PortNaming.h"

namespace kv {

QString PortHolderText(const QString& device) {
    const PortHolder holder = FindPortHolder(device);
    if (holder.Pid <= 0) return {};
    if (holder.Program.isEmpty()) return QStringLiteral("Held by process %1.").arg(holder.Pid);
    return QStringLiteral("Held by %1 (process %2).").arg(holder.Program).arg(holder.Pid);
}

QString ComPortHolderText(int number) { return PortHolderText(ResolveComPort(number)); }

}  // namespace kv
