// `report (FILE.json | --port P) -o REPORT.pdf`: the commissioning report of a configuration
// file or of a gateway read now, as a PDF or an HTML file (the suffix chooses). It draws
// with fonts: main.cpp runs it with a GUI application on the offscreen platform.

#include <QFileInfo>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortJobs.h"
#include "config/ConfigFile.h"
#include "platform/LimitedFile.h"
#include "report/ReportFile.h"
#include "save/OpenConfiguration.h"

namespace kv::cli {
namespace {

int Write(const ReportSubject& subject, const QString& output, QTextStream& err) {
    const QString failure = WriteReport(subject, output);
    if (failure.isEmpty()) return ExitOk;
    err << "Can't write " << output << ": " << failure << "\n";
    return ExitFailed;
}

// The fingerprint is of the file's own bytes, so a page can be matched to the file.
int ReportOfFile(const QString& path, const QString& output, QTextStream& err) {
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes); !failure.isEmpty()) {
        err << path << ": " << failure << "\n";
        return ExitUsage;
    }
    const ConfigFileRead file = ParseConfigText(bytes, path);
    const OpenedConfiguration opened =
        file.ok() ? OpenConfigurationJson(file.Json) : OpenedConfiguration{{}, {file.Error}};
    if (!opened.ok()) {
        err << opened.Errors.join(u'\n') << "\n";
        return ExitUsage;
    }
    const QString name = QFileInfo(path).fileName();
    return Write({opened.Config, name, bytes, name}, output, err);
}

int ReportOfGateway(const Invocation& in, const QStringList& ports, const QString& output) {
    if (const int unusable = CheckPorts(ports, in.Err)) return unusable;
    const auto reportOne = [&output](PortWork& work) {
        GatewayConfig config;
        auto console = ReadPortGateway(work, config);
        if (!console) return ExitFailed;
        console.reset();  // frees the port while the report is made
        return Write({config, work.Port, ConfigFileText(config),
                      QStringLiteral("the configuration as read --json prints it")},
                     output, work.Err);
    };
    return RunOnPorts(ports, in.Args, reportOne, in.Out, in.Err);
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
    return operands.isEmpty() ? ReportOfGateway(in, ports, output)
                              : ReportOfFile(operands.first(), output, in.Err);
}

const bool registered = RegisterCommand(
    {"report",
     "(FILE.json | --port P) -o REPORT.pdf|REPORT.html",
     "write the commissioning report of a configuration file or a gateway (PDF or HTML)",
     {PortOption(),
      QuietOption(),
      {{"o", "output"}, QStringLiteral("Write the report to REPORT (.pdf or .html)."), "REPORT"}},
     {{"FILE.json", "A configuration file, as read --json prints it.", true}},
     RunReport});

}  // namespace
}  // namespace kv::cli
