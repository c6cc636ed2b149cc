// `ports`: COM 1..16 and the device behind each, so a user can find which number to use.

#include "cli/CommandRegistry.h"
#include "platform/PortNaming.h"

namespace kv::cli {
namespace {

void PrintDetail(QTextStream& out, const char* label, const QString& value) {
    if (!value.isEmpty()) out << "        " << label << ": " << value << "\n";
}

void PrintEntry(QTextStream& out, const ComPortEntry& entry) {
    const QString name = QStringLiteral("COM %1").arg(entry.Number);
    const QString device = entry.Device.isEmpty() ? QStringLiteral("(none)") : entry.Device;
    out << name.leftJustified(8) << device << "\n";
    PrintDetail(out, "description", entry.Description);
    PrintDetail(out, "maker", entry.Manufacturer);
    PrintDetail(out, "stable name", entry.StableName);
}

int RunPortsCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (!args.isEmpty()) {
        err << "\"ports\" takes no arguments.\n";
        return 2;
    }
    for (const ComPortEntry& entry : ListComPorts()) PrintEntry(out, entry);
    out << "Links named COM1 .. COM16 in " << PortFolder() << " take over their number.\n";
    return 0;
}

const bool registered = RegisterCommand({"ports", "ports", RunPortsCommand});

}  // namespace
}  // namespace kv::cli
