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

QString ListKey(int classIndex) {
    return IsSerialClassIndex(classIndex) ? QStringLiteral("SerialClasses")
                                          : QStringLiteral("TcpClasses");
}

int PositionInList(int classIndex) {
    return IsSerialClassIndex(classIndex) ? classIndex : classIndex - SerialClassCount;
}

// The class as `file` would hold it, in the file's form.
QJsonObject ClassAsWritten(const QJsonObject& file, int classIndex, const GatewayConfig& config) {
    return ConfigToJson(config, FormOfFile(file))
        .value(ListKey(classIndex))
        .toArray()
        .at(PositionInList(classIndex))
        .toObject();
}

// The file with the class's commands replaced; the rest of the file stays as it was.
QJsonObject WithCommands(QJsonObject file, int classIndex, const GatewayConfig& config) {
    const QString listKey = ListKey(classIndex);
    const int position = PositionInList(classIndex);
    const QJsonObject written = ClassAsWritten(file, classIndex, config);
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
             int classIndex, const QCommandLineParser& args, QTextStream& out, QTextStream& err,
             QJsonObject& result) {
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
    result.insert(QStringLiteral("File"), target);
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
    in.Result.Fields.insert(QStringLiteral("Class"), ClassName(*classIndex));
    const int status = setting ? SetTable(path, file.Json, config, *classIndex, in.Args, out, err,
                                          in.Result.Fields)
                               : ExitOk;
    if (!setting)
        out << QString::fromUtf8(CommandTableCsv(CommandsOfClass(config, *classIndex, false)));
    if (status == ExitOk)
        in.Result.Fields.insert(
            QStringLiteral("Commands"),
            ClassAsWritten(file.Json, *classIndex, config).value(QStringLiteral("Commands")));
    return status;
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
