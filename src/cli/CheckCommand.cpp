// `check FILE | PORT | --port P... [--strict]`: lists what the checks refuse in a
// configuration (its problems: apply would write nothing) and what they accept but cannot
// work as meant (its warnings; with --strict, what `apply --strict` refuses is a problem
// too). Exit status 0 for neither, 3 for warnings only, 4 for problems; a gateway that
// cannot be read is a failed operation (1), as everywhere.

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "cli/PortTable.h"
#include "config/ConfigFile.h"
#include "config/NumberText.h"
#include "save/CheckFindings.h"
#include "save/ResultEntry.h"

namespace kv::cli {
namespace {

// The findings in the result document.
QJsonObject FindingsFields(const CheckFindings& found) {
    return {{QStringLiteral("Problems"), FindingsEntry(found.Problems)},
            {QStringLiteral("Warnings"), FindingsEntry(found.Warnings)}};
}

int Report(const CheckFindings& found, QTextStream& out) {
    for (const QString& problem : found.Problems) out << "Problem: " << problem << "\n";
    for (const QString& warning : found.Warnings) out << WarningPrefix << warning << "\n";
    if (found.Problems.isEmpty() && found.Warnings.isEmpty()) {
        out << "No problems, no warnings.\n";
        return ExitOk;
    }
    out << CountText(found.Problems.size(), "problem") << ", "
        << CountText(found.Warnings.size(), "warning") << ".\n";
    return found.Problems.isEmpty() ? ExitFindings : ExitProblems;
}

int CheckFile(const Invocation& in, const QString& path, bool strict) {
    in.Result.Fields.insert(QStringLiteral("File"), path);
    const ConfigFileRead file = ReadConfigFile(path);
    if (!file.ok()) {
        in.Err << file.Error << "\n";
        return ExitUsage;
    }
    const CheckFindings found = FindingsOfFile(file.Json, {file.Numbers, strict});
    const QJsonObject fields = FindingsFields(found);
    for (auto it = fields.begin(); it != fields.end(); ++it) in.Result.Fields.insert(it.key(), *it);
    return Report(found, in.Text());
}

int CheckGateways(const Invocation& in, const QStringList& ports, bool strict) {
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const auto checkOne = [strict](PortWork& work) {
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();
        const CheckFindings found = FindingsOfConfig(config, strict);
        work.Result = FindingsFields(found);
        return Report(found, work.Out);
    };
    return RunOnPorts(ports, in, checkOne);
}

int RunCheck(const Invocation& in) {
    const QStringList operands = in.Args.positionalArguments();
    QStringList ports = PortsOf(in.Args);
    if (operands.isEmpty() && ports.isEmpty()) return NoPortGiven(in.Err);
    if (!operands.isEmpty() && !ports.isEmpty()) {
        in.Err << "Check either a file or ports, not both.\n";
        return ExitUsage;
    }
    const bool strict = in.Args.isSet(QStringLiteral("strict"));
    if (!operands.isEmpty() && !NamesAPort(operands.first()))
        return CheckFile(in, operands.first(), strict);
    return CheckGateways(in, ports.isEmpty() ? operands : ports, strict);
}

const bool registered = RegisterCommand(
    {"check",
     "(FILE.json | PORT | --port P [--port P...]) [--strict]",
     "list a configuration's problems and warnings (status 3: warnings, 4: problems)",
     {PortOption(),
      QuietOption(),
      {"strict",
       QStringLiteral("Count what apply --strict refuses as problems: what cannot work as "
                      "meant, and a kept backup's values outside the checks.")}},
     {{"FILE.json", "A configuration file, or a port to read.", true}},
     RunCheck});

}  // namespace
}  // namespace kv::cli
