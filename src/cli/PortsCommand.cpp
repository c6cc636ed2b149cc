// `ports [--assign COMn DEVICE | --unassign COMn]`: COM 1..16, the device behind each and
// where the mapping comes from, so a user can find which number to use; keeps or drops a
// user's own assignment, a device or a network port.

#include <QJsonArray>
#include <QJsonObject>

#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "platform/PortNaming.h"
#include "platform/UserReplyTimeout.h"

namespace kv::cli {
namespace {

void PrintDetail(QTextStream& out, const char* label, const QString& value) {
    if (!value.isEmpty()) out << "        " << label << ": " << value << "\n";
}

void PrintEntry(QTextStream& out, const ComPortEntry& entry) {
    const QString name = QStringLiteral("COM %1").arg(entry.Number);
    if (entry.Device.isEmpty()) {
        // A link to nothing or an unreadable assignments file says why the port will not open.
        out << name.leftJustified(8) << "(none";
        if (entry.Source != ComSource::None) out << ": " << ComSourceText(entry.Source);
        out << ")\n";
        PrintDetail(out, "reason", entry.Refusal);
        return;
    }
    out << name.leftJustified(8) << entry.Device << "  (" << ComSourceText(entry.Source) << ")\n";
    PrintDetail(out, "description", entry.Description);
    PrintDetail(out, "maker", entry.Manufacturer);
    PrintDetail(out, "stable name", entry.StableName);
}

// Where COM n's device comes from, in the result document.
QString SourceWord(ComSource source) {
    switch (source) {
        case ComSource::None:
            return {};
        case ComSource::Assignment:
            return QStringLiteral("assigned");
        case ComSource::NetworkAssignment:
            return QStringLiteral("network-assigned");
        case ComSource::PortFolder:
            return QStringLiteral("port-folder-link");
        case ComSource::BrokenLink:
            return QStringLiteral("broken-link");
        case ComSource::UnreadableAssignments:
            return QStringLiteral("unreadable-assignments");
        case ComSource::RefusedAssignment:
            return QStringLiteral("refused-assignment");
        case ComSource::PortsPresent:
            break;
    }
    return QStringLiteral("port-present");
}

QJsonObject EntryFields(const ComPortEntry& entry) {
    QJsonObject fields{{QStringLiteral("Port"), QStringLiteral("COM%1").arg(entry.Number)},
                       {QStringLiteral("Device"), entry.Device},
                       {QStringLiteral("Source"), SourceWord(entry.Source)}};
    const std::pair<const char*, QString> details[] = {{"Description", entry.Description},
                                                       {"Manufacturer", entry.Manufacturer},
                                                       {"StableName", entry.StableName},
                                                       {"Refusal", entry.Refusal}};
    for (const auto& [key, value] : details)
        if (!value.isEmpty()) fields.insert(QLatin1String(key), value);
    return fields;
}

int ChangeAssignment(const Invocation& in) {
    const bool assign = in.Args.isSet(QStringLiteral("assign"));
    const QString port =
        in.Args.value(assign ? QStringLiteral("assign") : QStringLiteral("unassign"));
    const int number = ComNumberOf(port);
    if (number <= 0) {
        in.Err << "There is no " << port << ": ports are COM 1 to COM " << ComPortCount << "\n";
        return ExitFailed;  // as for every command given a port that does not exist
    }
    const QStringList devices = in.Args.positionalArguments();
    if (assign != (devices.size() == 1)) {
        in.Err << UsageLine(*FindCommand(QStringLiteral("ports"))) << "\n";
        return ExitUsage;
    }
    if (const int unusable = assign ? CheckPorts(devices, in.Err) : 0) return unusable;
    const std::optional<int> replyTimeout = ReplyTimeoutOf(in.Args);
    if (!replyTimeout || (*replyTimeout > 0 && !assign)) {
        in.Err << "--reply-timeout takes " << UserReplyTimeoutRange() << ", with --assign\n";
        return ExitUsage;
    }
    if (assign && !in.Args.isSet(QStringLiteral("force"))) {
        if (const int other = ComAssignedTo(devices.first()); other > 0 && other != number) {
            in.Err << devices.first() << " is already COM " << other
                   << "; two COM numbers for one device would let two programs share it. Add "
                      "--force to assign it anyway.\n";
            return ExitUsage;
        }
    }
    QString error;
    if (assign ? !AssignComPort(number, devices.first(), error, *replyTimeout)
               : !UnassignComPort(number, error)) {
        in.Err << error << "\n";
        return ExitFailed;
    }
    if (assign)
        in.Text() << "COM " << number << " is " << AssignedDevice(number)
                  << (*replyTimeout > 0
                          ? QStringLiteral(", reply time-out %1 ms").arg(*replyTimeout)
                          : QString())
                  << " (kept in " << AssignmentFile() << ")\n";
    else
        in.Text() << "COM " << number << " is no longer assigned.\n";
    return ExitOk;
}

int RunPortsCommand(const Invocation& in) {
    if (in.Args.isSet(QStringLiteral("assign")) || in.Args.isSet(QStringLiteral("unassign")))
        return ChangeAssignment(in);
    if (!in.Args.positionalArguments().isEmpty()) {
        in.Err << UsageLine(*FindCommand(QStringLiteral("ports"))) << "\n";
        return ExitUsage;
    }
    QJsonArray listed;
    for (const ComPortEntry& entry : ListComPorts()) {
        PrintEntry(in.Text(), entry);
        listed.append(EntryFields(entry));
    }
    in.Result.Fields.insert(QStringLiteral("ComPorts"), listed);
    in.Text() << "Assignments (ports --assign) are kept in " << AssignmentFile() << ";\n"
              << "links named COM1 .. COM16 in " << PortFolder() << " come next.\n";
    return ExitOk;
}

const bool registered = RegisterCommand(
    {"ports",
     "[--assign COMn DEVICE [--reply-timeout MS] | --unassign COMn]",
     "list COM 1..16 and the device behind each; assign a device to a COM number",
     {{"assign", QStringLiteral("Keep COMn assigned to DEVICE."), QStringLiteral("COMn")},
      {"unassign", QStringLiteral("Drop COMn's assignment."), QStringLiteral("COMn")},
      {"force", QStringLiteral("With --assign: also when another COM number has the device.")},
      {"reply-timeout",
       QStringLiteral("With --assign: wait up to MS milliseconds (%1..%2) for each console "
                      "reply on COMn, in the windows too, instead of 200 (EEPROM blocks: a "
                      "quarter of it).")
           .arg(MinUserReplyTimeoutMs)
           .arg(MaxUserReplyTimeoutMs),
       QStringLiteral("MS")}},
     {{"DEVICE",
       "The device for --assign, e.g. /dev/serial/by-id/..., or a serial port server on the "
       "network, rfc2217://HOST:PORT or socket://HOST:PORT",
       true}},
     RunPortsCommand});

}  // namespace
}  // namespace kv::cli
