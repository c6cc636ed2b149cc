// `report (FILE.json | --port P) -o REPORT.pdf [--site S] [--customer C] [--tag T]
// [--engineer E]`: the commissioning report of a configuration file or of a gateway read
// now, as a PDF or an HTML file (the suffix chooses), with what `check` says of the same
// configuration. A file with problems gets none: `check` lists them. It draws with fonts:
// main.cpp runs it with a GUI application on the offscreen platform.

#include <QFileInfo>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "cli/PortJobs.h"
#include "config/ConfigFile.h"
#include "config/NumberText.h"
#include "platform/LimitedFile.h"
#include "report/ReportFile.h"
#include "save/ResultEntry.h"

namespace kv::cli {
namespace {

constexpr const char* PartyOptions[] = {"site", "customer", "tag", "engineer"};

// Writes the report; its file's name goes into `result`, the result document's fields.
int Write(ReportSubject subject, const QCommandLineParser& args, QTextStream& err,
          QJsonObject& result) {
    QString* parties[] = {&subject.Parties.Site, &subject.Parties.Customer, &subject.Parties.Tag,
                          &subject.Parties.Engineer};
    for (int i = 0; i < 4; ++i) *parties[i] = args.value(QLatin1String(PartyOptions[i]));
    const QString output = args.value(QStringLiteral("output"));
    const QString failure = WriteReport(subject, output);
    if (failure.isEmpty()) {
        result.insert(QStringLiteral("File"), output);
        return ExitOk;
    }
    err << "Can't write " << output << ": " << failure << "\n";
    return ExitFailed;
}

// The fingerprint is of the file's own bytes, so a page can be matched to the file.
int ReportOfFile(const QString& path, const Invocation& in) {
    QTextStream& err = in.Err;
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes); !failure.isEmpty()) {
        err << path << ": " << failure << "\n";
        return ExitUsage;
    }
    const ConfigFileRead file = ParseConfigText(bytes, path);
    if (!file.ok()) {
        err << file.Error << "\n";
        return ExitUsage;
    }
    const QString name = QFileInfo(path).fileName();
    const ReportSubject subject = FileSubject(file, bytes, name);
    if (const QStringList& problems = subject.Findings.Problems; !problems.isEmpty()) {
        in.Result.Fields.insert(QStringLiteral("Problems"), FindingsEntry(problems));
        for (const QString& problem : problems) err << "Problem: " << problem << "\n";
        err << "No report was written: the file has " << CountText(problems.size(), "problem")
            << ".\n";
        return ExitProblems;
    }
    return Write(subject, in.Args, err, in.Result.Fields);
}

int ReportOfGateway(const Invocation& in, const QStringList& ports) {
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const auto reportOne = [&in](PortWork& work) {
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();  // frees the port while the report is made
        return Write(
            WholeConfigSubject(config, work.Port,
                               QStringLiteral("the configuration as read --json prints it")),
            in.Args, work.Err, work.Result);
    };
    return RunOnPorts(ports, in, reportOne);
}

int RunReport(const Invocation& in) {
    const QStringList operands = in.Args.positionalArguments();
    const QStringList ports = PortsOf(in.Args);
    const QString output = in.Args.value(QStringLiteral("output"));
    if (output.isEmpty() || !ReportFormatOf(output)) {
        in.Err << "Name the report with -o REPORT.pdf or -o REPORT.html.\n";
        return ExitUsage;
    }
    if (operands.size() + ports.size() != 1) {
        in.Err << "A report is of one configuration: give a file or one --port.\n";
        return ExitUsage;
    }
    return operands.isEmpty() ? ReportOfGateway(in, ports) : ReportOfFile(operands.first(), in);
}

const bool registered = RegisterCommand(
    {"report",
     "(FILE.json | --port P) -o REPORT.pdf|REPORT.html [--site S] [--customer C] [--tag T] "
     "[--engineer E]",
     "write the commissioning report of a configuration file or a gateway (PDF or HTML)",
     {PortOption(),
      QuietOption(),
      {{"o", "output"}, QStringLiteral("Write the report to REPORT (.pdf or .html)."), "REPORT"},
      {PartyOptions[0], QStringLiteral("The plant's site, shown on the report."), "S"},
      {PartyOptions[1], QStringLiteral("The plant's customer, shown on the report."), "C"},
      {PartyOptions[2], QStringLiteral("The gateway's device tag in the plant."), "T"},
      {PartyOptions[3], QStringLiteral("The engineer who commissions it, above the signature."),
       "E"}},
     {{"FILE.json", "A configuration file, as read --json prints it.", true}},
     RunReport});

}  // namespace
}  // namespace kv::cli
