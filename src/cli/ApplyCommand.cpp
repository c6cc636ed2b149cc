// `apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify]`:
// merges a JSON configuration into the gateway's own, checks it as the windows do, writes
// it as the save window does, writes the EDS file and reads the gateway back to compare.

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "save/ApplyConfiguration.h"
#include "save/SaveConfiguration.h"

namespace kv::cli {
namespace {

const QStringList OptionsWithValues = {"--port", "--eds-dir", "--description", "--created-by"};

bool ReadJsonFile(const QString& path, QJsonObject& json, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": " << file.errorString() << "\n";
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        err << path << ": "
            << (parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                             : QStringLiteral("not a JSON object"))
            << "\n";
        return false;
    }
    json = document.object();
    return true;
}

int RunApply(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString path = FileArgument(args, OptionsWithValues);
    if (path.isEmpty()) {
        err << "No configuration file given: apply --port P FILE.json\n";
        return 2;
    }
    QJsonObject json;
    if (!ReadJsonFile(path, json, err)) return 1;
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;

    const QString edsDir = OptionValue(args, QStringLiteral("--eds-dir"));
    ApplyOptions options;
    options.EdsFolders = {edsDir.isEmpty() ? QDir::currentPath() : edsDir};
    options.EdsInfo = {OptionValue(args, QStringLiteral("--description")),
                       OptionValue(args, QStringLiteral("--created-by"))};
    options.Verify = !args.contains(QStringLiteral("--no-verify"));
    const ApplyOutcome outcome = ApplyConfiguration(console->Link, json, options);

    for (const QString& warning : outcome.Warnings) err << "Warning: " << warning << "\n";
    for (const QString& error : outcome.Errors) err << error << "\n";
    if (!outcome.Written) {
        if (!outcome.Errors.isEmpty()) err << "Nothing was written to the gateway.\n";
        return 1;
    }
    if (!outcome.EdsPath.isEmpty())
        out << SaveDoneText({SaveStatus::Ok, outcome.EdsPath, {}}) << "\n";
    if (!outcome.Ok && !outcome.EdsPath.isEmpty())
        err << "The gateway does not hold what was written.\n";
    return outcome.Ok ? 0 : 1;
}

const bool registered = RegisterCommand(
    {"apply",
     "apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify]",
     RunApply});

}  // namespace
}  // namespace kv::cli
