// `diff A B [--raw]`: compares two configurations field by field. A and B are each a file
// of `read --json`, an EEPROM backup (INI) or a port, which is read live. Exit status 0
// when they are equal, 3 when they differ, 2 when a file cannot be had, 1 when a port cannot
// be read.

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>
#include <array>
#include <optional>

#include "backup/BackupFile.h"
#include "cli/CliConsole.h"
#include "cli/CommandRegistry.h"
#include "cli/PortArguments.h"
#include "cli/ProgressLine.h"
#include "cli/StopOnSignal.h"
#include "config/ConfigDiff.h"
#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "platform/LimitedFile.h"
#include "platform/NetworkAddress.h"
#include "save/ResultEntry.h"

namespace kv::cli {
namespace {

constexpr int ExitEqual = ExitOk;
constexpr int ExitDifferent = ExitFindings;
constexpr int ExitError = ExitUsage;

const char* const RawNeedsBackups = "--raw compares two EEPROM backup files byte by byte";

enum class SourceKind { ConfigurationFile, BackupFile, Gateway };

struct ConfigSource {
    SourceKind Kind = SourceKind::ConfigurationFile;
    QJsonObject Tree;
    EepromImage Image;  // a backup's bytes, for --raw
};

std::optional<ConfigSource> ReadGatewaySource(const QString& port, ProgressLine& progress,
                                              const ConsoleSettings& settings, QTextStream& err) {
    auto console = OpenCliConsole(port, settings, err);
    if (!console) return std::nullopt;
    GatewayConfig config;
    const bool read =
        ReadCliGateway(*console, config, err,
                       progress.For(port, QStringLiteral("reading"), ReadOutProgressMaximum));
    progress.Forget(port);
    if (!read) return std::nullopt;
    console.reset();  // frees the port for other programs while the output is made
    return ConfigSource{SourceKind::Gateway, ConfigToJson(config), {}};
}

// A JSON file starts with "{" after blanks and perhaps a byte-order mark.
bool LooksLikeJson(const QByteArray& bytes) {
    QByteArray text = bytes.trimmed();
    if (text.startsWith("\xEF\xBB\xBF")) text = text.mid(3).trimmed();
    return text.startsWith('{');
}

std::optional<ConfigSource> ReadJsonSource(const QString& path, const QByteArray& bytes,
                                           QTextStream& err) {
    const ConfigFileRead file = ParseConfigText(bytes, path);
    if (!file.ok()) {
        err << file.Error << "\n";
        return std::nullopt;
    }
    ConfigSource source{SourceKind::ConfigurationFile, {}, {}};
    QStringList errors;
    if (ConfigFileTree(file.Json, source.Tree, errors)) return source;
    for (const QString& error : errors) err << path << ": " << error << "\n";
    return std::nullopt;
}

std::optional<ConfigSource> ReadBackupSource(const QString& path, const QByteArray& bytes,
                                             QTextStream& err) {
    const BackupReadResult backup = BackupFile::Decode(bytes);
    if (backup.Status != BackupReadStatus::Ok) {
        err << path << " is neither a configuration file (JSON) nor an EEPROM backup (INI)";
        if (!backup.Detail.isEmpty()) err << ": " << backup.Detail;
        err << "\n";
        return std::nullopt;
    }
    return ConfigSource{SourceKind::BackupFile, BackupConfigTree(backup.Image), backup.Image};
}

std::optional<ConfigSource> ReadFileSource(const QString& path, QTextStream& err) {
    if (path != u"-" && !QFileInfo::exists(path)) {
        err << "Cannot read " << path << ": there is no such file\n";
        return std::nullopt;
    }
    QByteArray bytes;
    if (const QString failure = ReadInputFile(path, bytes); !failure.isEmpty()) {
        err << "Cannot read " << path << ": " << failure << "\n";
        return std::nullopt;
    }
    return LooksLikeJson(bytes) ? ReadJsonSource(path, bytes, err)
                                : ReadBackupSource(path, bytes, err);
}

std::optional<ConfigSource> ReadSource(const QString& argument, ProgressLine& progress,
                                       const ConsoleSettings& settings, QTextStream& err) {
    if (!NamesAPort(argument)) return ReadFileSource(argument, err);
    auto source = ReadGatewaySource(argument, progress, settings, err);
    progress.Clear();
    return source;
}

// Says which fields were left out because one side does not hold them.
void ReportLeftOut(const QStringList& paths, const QString& lacking, SourceKind kind,
                   QTextStream& out) {
    if (paths.isEmpty()) return;
    out << "Left out, " << lacking << " does not hold them: " << paths.join(QStringLiteral(", "));
    if (kind == SourceKind::BackupFile) out << " (an EEPROM backup holds no Ethernet settings)";
    out << "\n";
}

QString KindText(SourceKind kind) {
    switch (kind) {
        case SourceKind::ConfigurationFile:
            return QStringLiteral("a configuration file");
        case SourceKind::BackupFile:
            return QStringLiteral("an EEPROM backup");
        case SourceKind::Gateway:
            return QStringLiteral("the gateway, read now");
    }
    return {};
}

// The kind of a side in the result document.
QString KindWord(SourceKind kind) {
    switch (kind) {
        case SourceKind::ConfigurationFile:
            return QStringLiteral("configuration-file");
        case SourceKind::BackupFile:
            return QStringLiteral("backup-file");
        case SourceKind::Gateway:
            return QStringLiteral("gateway");
    }
    return {};
}

// The first line: which two things were compared, so that a saved output says it.
void ReportCompared(const Invocation& in, const std::array<std::optional<ConfigSource>, 2>& sides,
                    bool raw) {
    const QStringList operands = in.Args.positionalArguments();
    in.Text() << QStringLiteral("Compared %1 (%2) with %3 (%4)%5.\n")
                     .arg(operands[0], KindText(sides[0]->Kind), operands[1],
                          KindText(sides[1]->Kind),
                          raw ? QStringLiteral(" byte by byte") : QString());
    const auto side = [&](int k) {
        return QJsonObject{{QStringLiteral("Given"), operands[k]},
                           {QStringLiteral("Kind"), KindWord(sides[size_t(k)]->Kind)}};
    };
    in.Result.Fields.insert(
        QStringLiteral("Compared"),
        QJsonObject{{QStringLiteral("A"), side(0)}, {QStringLiteral("B"), side(1)}, {"Raw", raw}});
}

int ReportChanges(const Invocation& in, const QList<FieldChange>& changes,
                  ValueTextFn valueText = FieldValueText) {
    in.Result.Fields.insert(
        QStringLiteral("Differences"),
        ChangesEntry(changes, QStringLiteral("A"), QStringLiteral("B"), valueText));
    if (changes.isEmpty()) {
        in.Text() << "No differences.\n";
        return ExitEqual;
    }
    for (const QString& change : FieldChangeTexts(changes, valueText)) in.Text() << change << "\n";
    return ExitDifferent;
}

int RunDiff(const Invocation& in) {
    QTextStream& out = in.Text();
    QTextStream& err = in.Err;
    const QStringList operands = in.Args.positionalArguments();
    const bool raw = in.Args.isSet(QStringLiteral("raw"));
    ProgressLine progress(in.Args);
    const StopOnSignal stop;  // a gateway side is read as any command's port is
    if (raw && std::any_of(operands.begin(), operands.end(), NamesAPort)) {
        err << RawNeedsBackups << "\n";
        return ExitError;
    }
    // The files first: one that cannot be read is said before a port is opened.
    std::array<std::optional<ConfigSource>, 2> sides;
    for (const bool ports : {false, true}) {
        for (size_t k = 0; k < sides.size(); ++k) {
            if (NamesAPort(operands[qsizetype(k)]) != ports) continue;
            sides[k] = ReadSource(operands[qsizetype(k)], progress, in.Console, err);
            // A file that cannot be read is bad input; a gateway that cannot be read failed.
            if (!sides[k] && !ports) return ExitError;
            if (!sides[k])
                return StopOnSignal::Signal() != 0 ? StopOnSignal::ExitStatus() : ExitFailed;
        }
    }
    const auto& a = sides[0];
    const auto& b = sides[1];

    if (raw && (a->Kind != SourceKind::BackupFile || b->Kind != SourceKind::BackupFile)) {
        err << RawNeedsBackups << "\n";
        return ExitError;
    }
    ReportCompared(in, sides, raw);
    if (raw) return ReportChanges(in, DiffBackupBytes(a->Image, b->Image), ByteValueText);
    const ConfigDifferences differences = DiffConfigTrees(a->Tree, b->Tree);
    ReportLeftOut(differences.OnlyInA, operands[1], b->Kind, out);
    ReportLeftOut(differences.OnlyInB, operands[0], a->Kind, out);
    in.Result.Fields.insert(
        QStringLiteral("LeftOut"),
        QJsonObject{{QStringLiteral("OnlyInA"), QJsonArray::fromStringList(differences.OnlyInA)},
                    {QStringLiteral("OnlyInB"), QJsonArray::fromStringList(differences.OnlyInB)}});
    return ReportChanges(in, differences.Changes);
}

const bool registered = RegisterCommand(
    {"diff",
     "A B [--raw]",
     "compare two configurations: read --json files, backup files or ports (status 3: "
     "different)",
     {QuietOption(), {"raw", QStringLiteral("Compare two EEPROM backup files byte by byte.")}},
     {{"A", "A read --json file, an EEPROM backup (INI) or a port."}, {"B", "The same for B."}},
     RunDiff});

}  // namespace
}  // namespace kv::cli
