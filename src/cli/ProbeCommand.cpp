// `probe (FILE.json | --port P) [--class C] [--instance N] [--server N=HOST[:PORT]]
// [--serial COMn=DEVICE --bus-is-free] [--json]`: tries every valid command of the classes in
// use against its device from the PC, before the gateway polls it: the Modbus TCP servers,
// and the serial buses the PC has a port on. Writing commands are never sent: the same range
// is read.
// Exit status 0 when every command answered, 3 for any exception, time-out, unreachable
// server or malformed answer, 1 when the gateway could not be read, 2 for bad usage.

#include <algorithm>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "cli/StopOnSignal.h"
#include "config/ClassNames.h"
#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "config/WorkingCopy.h"
#include "modbus/ProbeRun.h"
#include "modbus/ProbeText.h"

namespace kv::cli {
namespace {

// Prints the results for people on `text`, puts them in `fields` for the result document and
// returns the status they give.
int Probe(const GatewayConfig& config, const ProbeSelection& selection, QTextStream& text,
          QJsonObject& fields) {
    const QList<ProbeResult> results = RunProbes(
        PlanProbes(config.SerialClasses, config.TcpClasses, selection), StopOnSignal::Request());
    for (const ProbeResult& result : results) text << ProbeLine(result) << "\n";
    text << ProbeSummary(results) << ".\n";
    const QJsonObject probed = ProbeFields(results);
    for (auto it = probed.begin(); it != probed.end(); ++it) fields.insert(it.key(), *it);
    if (StopOnSignal::Signal() != 0) return StopOnSignal::ExitStatus();
    const bool found = std::any_of(results.begin(), results.end(),
                                   [](const ProbeResult& r) { return IsFinding(r.Outcome); });
    return found ? ExitFindings : ExitOk;
}

// The class index of server "2" or "Server2" (0x68 too); nothing for any other text.
std::optional<int> ServerClassIndexOf(const QString& name) {
    bool number = false;
    const int server = name.toInt(&number);
    if (number) {
        if (server < 1 || server > TcpClassCount) return std::nullopt;
        return SerialClassCount + server - 1;
    }
    const std::optional<int> classIndex = ClassIndexOfName(name);
    if (!classIndex || IsSerialClassIndex(*classIndex)) return std::nullopt;
    return classIndex;
}

// Takes "2=127.0.0.1:1502" or "Server2=plc-7" into the selection; false when it is neither.
bool TakeServerOverride(const QString& text, ProbeSelection& selection) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) return false;
    const std::optional<int> classIndex = ServerClassIndexOf(text.first(equals));
    const std::optional<ServerAddress> address = ServerAddressOf(text.sliced(equals + 1));
    if (!classIndex || !address) return false;
    selection.Servers.insert(*classIndex, *address);
    return true;
}

// Takes "COM1=/dev/ttyUSB0" into the selection; false when it is not that.
bool TakeSerialDevice(const QString& text, ProbeSelection& selection) {
    const qsizetype equals = text.indexOf(u'=');
    const std::optional<int> classIndex =
        equals < 0 ? std::nullopt : ClassIndexOfName(text.first(equals));
    if (!classIndex || !IsSerialClassIndex(*classIndex) || equals + 1 == text.size()) return false;
    selection.SerialDevices.insert(*classIndex, text.sliced(equals + 1));
    return true;
}

// The selection the options give, or a usage message in `problem`.
ProbeSelection SelectionOf(const QCommandLineParser& args, QString& problem) {
    ProbeSelection selection;
    if (args.isSet(QStringLiteral("class"))) {
        selection.ClassIndex = ClassIndexOfName(args.value(QStringLiteral("class")));
        if (!selection.ClassIndex)
            problem = QStringLiteral("--class takes COM1, COM2, Server1..Server4 or 0x65..0x6A");
    }
    if (args.isSet(QStringLiteral("instance"))) {
        bool number = false;
        selection.Instance = args.value(QStringLiteral("instance")).toInt(&number);
        if (!number || *selection.Instance < 1 || *selection.Instance > SerialCommandSlots)
            problem = QStringLiteral("--instance takes 1..%1").arg(SerialCommandSlots);
    }
    for (const QString& given : args.values(QStringLiteral("server"))) {
        if (!TakeServerOverride(given, selection))
            problem = QStringLiteral("--server takes N=HOST or N=HOST:PORT with N 1..4, not '%1'")
                          .arg(given);
    }
    for (const QString& given : args.values(QStringLiteral("serial")))
        if (!TakeSerialDevice(given, selection))
            problem =
                QStringLiteral("--serial takes COM1=DEVICE or COM2=DEVICE, not '%1'").arg(given);
    if (!selection.SerialDevices.isEmpty() && !args.isSet(QStringLiteral("bus-is-free")))
        problem = QLatin1String(SerialBusHasOneMaster) +
                  QStringLiteral(
                      " Disconnect the gateway from the bus or stop it, then give "
                      "--bus-is-free.");
    return selection;
}

int ProbeFile(const Invocation& in, const QString& path, const ProbeSelection& selection) {
    QTextStream& err = in.Err;
    in.Result.Fields.insert(QStringLiteral("File"), path);
    const ConfigFileRead file = ReadConfigFile(path);
    if (!file.ok()) {
        err << file.Error << "\n";
        return ExitUsage;
    }
    GatewayConfig config;
    QStringList refused;
    if (!MergeConfigJson(file.Json, config, refused, file.Numbers)) {
        for (const QString& reason : refused) err << path << ": " << reason << "\n";
        return ExitUsage;
    }
    const StopOnSignal stop;
    return Probe(config, selection, in.Text(), in.Result.Fields);
}

int RunProbe(const Invocation& in) {
    const QStringList operands = in.Args.positionalArguments();
    const QStringList ports = PortsOf(in.Args);
    if (operands.size() + ports.size() != 1) {
        in.Err << "A probe is of one configuration: give a file or one --port.\n";
        return ExitUsage;
    }
    QString problem;
    const ProbeSelection selection = SelectionOf(in.Args, problem);
    if (!problem.isEmpty()) {
        in.Err << problem << "\n";
        return ExitUsage;
    }
    if (!operands.isEmpty()) return ProbeFile(in, operands.first(), selection);
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    return RunOnPorts(ports, in, [&selection](PortWork& work) {
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();  // the gateway's port is not needed while its devices are probed
        return Probe(config, selection, work.Out, work.Result);
    });
}

const bool registered = RegisterCommand(
    {"probe",
     "(FILE.json | --port P) [--class C] [--instance N] [--server N=HOST[:PORT]] "
     "[--serial COMn=DEVICE --bus-is-free] [--json]",
     "try each Modbus command against its device from the PC (status 3: findings)",
     {PortOption(),
      QuietOption(),
      {"class",
       QStringLiteral("Probe only this class: COM1, COM2, Server1..Server4 or 0x65..0x6A."),
       QStringLiteral("C")},
      {"instance", QStringLiteral("Probe only this instance of each class (from 1)."),
       QStringLiteral("N")},
      {"server",
       QStringLiteral("Probe server N (1..4) at HOST, port PORT (default 502), in place of its "
                      "ServerIp: a device behind NAT, a test server. May be given again."),
       QStringLiteral("N=HOST[:PORT]")},
      {"serial",
       QStringLiteral("Probe serial class COMn through the PC's own port DEVICE on that bus, "
                      "with the class's mode and line settings. May be given again."),
       QStringLiteral("COMn=DEVICE")},
      {"bus-is-free",
       QStringLiteral("The gateway is disconnected from the serial buses named with --serial, "
                      "or stopped: the PC may be their master.")}},
     {{"FILE.json", "A configuration file, as read --json prints it.", true}},
     RunProbe});

}  // namespace
}  // namespace kv::cli
