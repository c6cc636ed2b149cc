// `commands CONFIG.json --class C [--set TABLE.csv [-o OUT.json]]`: prints a class's command
// table as CSV, or replaces the class's commands in the file with those of a CSV table.
// Classes are COM1, COM2, Server1..Server4 or their ids 0x65..0x6A.

#include <QJsonArray>

#include "cli/CommandRegistry.h"
#include "cli/OutputFiles.h"
#include "config/ClassNames.h"
#include "config/CommandTableCsv.h"
#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "config/NumberText.h"
#include "config/WorkingCopy.h"
#include "platform/LimitedFile.h"

namespace kv::cli {
namespace {

// The file with the class's commands replaced; the rest of the file stays as it was.
QJsonObject WithCommands(QJsonObject file, int classIndex, const GatewayConfig& config) {
    const bool serial = IsSerialClassIndex(classIndex);
    const QString listKey = serial ? QStringLiteral("SerialClasses") : QStringLiteral("TcpClasses");
    const int position = serial ? classIndex : classIndex - SerialClassCount;
    const QJsonObject written =
        ConfigToJson(config, FormOfFile(file)).value(listKey).toArray().at(position).toObject();
    QJsonArray list = file.value(listKey).toArray();
    while (list.size() <= position) list.append(QJsonObject());
    QJsonObject record = list.at(position).toObject();
    record[QStringLiteral("Commands")] = written.value(QStringLiteral("Commands"));
    record[QStringLiteral("CmdCount")] = written.value(QStringLiteral("CmdCount"));
    list[position] = record;
    file[listKey] = list;
    return file;
}

int SetTable(const QString& configPath, const QJsonObject& file, GatewayConfig& config,
             int classIndex, const QCommandLineParser& args, QTextStream& out, QTextStream& err) {
    const QString tablePath = args.value(QStringLiteral("set"));
    QByteArray bytes;
    if (const QString failure = ReadInputFile(tablePath, bytes); !failure.isEmpty()) {
        err << tablePath << ": " << failure << "\n";
        return ExitUsage;
    }
    const CommandTableRead table = ReadCommandTableCsv(bytes, MaxInstances(classIndex));
    if (!table.ok()) {
        for (const QString& error : table.Errors) err << tablePath << ": " << error << "\n";
        err << "Nothing was written.\n";
        return ExitUsage;
    }
    SetCommandsOfClass(config, classIndex, false, table.Commands);
    const QString target =
        args.isSet(QStringLiteral("in-place")) ? configPath : args.value(QStringLiteral("o"));
    // The file's other keys, its Comment among them, stay as they were.
    const QByteArray text = ConfigObjectText(WithCommands(file, classIndex, config));
    if (!WriteOutputFile(target, text, err)) return ExitFailed;
    const qsizetype count = table.Commands.size();
    out << ClassName(classIndex) << ": " << CountText(count, "command") << " written to " << target
        << "\n";
    return ExitOk;
}

int RunCommands(const Invocation& in) {
    QTextStream& out = in.Text();
    QTextStream& err = in.Err;
    const QString path = in.Args.positionalArguments().first();
    const QString className = in.Args.value(QStringLiteral("class"));
    if (className.isEmpty()) {
        err << "No class given: --class COM1, COM2, Server1..Server4 or 0x65..0x6A\n";
        return ExitUsage;
    }
    const auto classIndex = ClassIndexOfName(className);
    if (!classIndex) {
        err << "Unknown class \"" << className
            << "\": COM1, COM2, Server1..Server4 or 0x65..0x6A\n";
        return ExitUsage;
    }
    const bool setting = in.Args.isSet(QStringLiteral("set"));
    const bool inPlace = in.Args.isSet(QStringLiteral("in-place"));
    if (setting && inPlace == in.Args.isSet(QStringLiteral("o"))) {
        err << "--set writes to -o OUT.json, or over CONFIG.json with --in-place: give one\n";
        return ExitUsage;
    }
    if (!setting && (inPlace || in.Args.isSet(QStringLiteral("o")))) {
        err << "-o and --in-place go with --set\n";
        return ExitUsage;
    }
    const ConfigFileRead file = ReadConfigFile(path);
    if (!file.ok()) {
        err << file.Error << "\n";
        return ExitUsage;
    }
    GatewayConfig config;
    QStringList errors;
    if (!MergeConfigJson(file.Json, config, errors, file.Numbers)) {
        for (const QString& error : errors) err << path << ": " << error << "\n";
        return ExitUsage;
    }
    if (setting) return SetTable(path, file.Json, config, *classIndex, in.Args, out, err);
    out << QString::fromUtf8(CommandTableCsv(CommandsOfClass(config, *classIndex, false)));
    return ExitOk;
}

const bool registered = RegisterCommand(
    {"commands",
     "CONFIG.json --class C [--set TABLE.csv (-o OUT.json | --in-place)]",
     "print a class's command table as CSV, or replace it from a CSV table",
     {{"class", QStringLiteral("The class: COM1, COM2, Server1..Server4 or 0x65..0x6A."),
       QStringLiteral("C")},
      {"set", QStringLiteral("Replace the class's commands with those of this CSV table."),
       QStringLiteral("TABLE.csv")},
      {"o", QStringLiteral("Write the changed configuration to OUT.json."),
       QStringLiteral("OUT.json")},
      {"in-place", QStringLiteral("Write the changed configuration over CONFIG.json.")}},
     {{"CONFIG.json", "A configuration file as read --json prints it."}},
     RunCommands});

}  // namespace
}  // namespace kv::cli
