// `apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify]
// [--dry-run]`: merges a JSON configuration into the gateway's own, checks it as the windows do,
// writes it as the save window does, writes the EDS file and reads the gateway back to compare.
// With --dry-run it only lists the fields the write would change.

#include <QDir>

#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "config/ConfigFile.h"
#include "save/ApplyConfiguration.h"
#include "save/ConfigChanges.h"
#include "save/SaveConfiguration.h"

namespace kv::cli {
namespace {

const QStringList OptionsWithValues = {"--port", "--eds-dir", "--description", "--created-by"};

int RunApply(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString path = FileArgument(args, OptionsWithValues);
    if (path.isEmpty()) {
        err << "No configuration file given: apply --port P FILE.json\n";
        return 2;
    }
    const ConfigFileRead file = ReadConfigFile(path);
    if (!file.ok()) {
        err << file.Error << "\n";
        return 1;
    }
    auto console = OpenCliConsole(OptionValue(args, QStringLiteral("--port")), err);
    if (!console) return 1;

    const QString edsDir = OptionValue(args, QStringLiteral("--eds-dir"));
    ApplyOptions options;
    options.EdsFolders = {edsDir.isEmpty() ? QDir::currentPath() : edsDir};
    options.EdsInfo = {OptionValue(args, QStringLiteral("--description")),
                       OptionValue(args, QStringLiteral("--created-by"))};
    options.Verify = !args.contains(QStringLiteral("--no-verify"));
    options.DryRun = args.contains(QStringLiteral("--dry-run"));
    const ApplyOutcome outcome = ApplyConfiguration(console->Link, file.Json, options);

    for (const QString& warning : outcome.Warnings) err << "Warning: " << warning << "\n";
    for (const QString& error : outcome.Errors) err << error << "\n";
    if (options.DryRun && outcome.Ok) {
        out << (outcome.Changes.isEmpty() ? QString::fromLatin1(NoChangesText)
                                          : outcome.Changes.join(u'\n'))
            << "\n";
        return 0;
    }
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
     "apply --port P FILE.json [--eds-dir DIR] [--description T] [--created-by T] [--no-verify] "
     "[--dry-run]",
     RunApply});

}  // namespace
}  // namespace kv::cli
