#include "cli/CommandRegistry.h"

#include <algorithm>
#include <optional>

#include "cli/CopiedText.h"
#include "cli/TraceFile.h"
#include "platform/UserReplyTimeout.h"
#include "save/BackupBeforeWrite.h"

namespace kv::cli {
namespace {

const QString Program = QStringLiteral("kv9052r-cli");

QList<Command>& Registry() {
    static QList<Command> commands;
    return commands;
}

QString ProgramHelp() {
    QString text = QStringLiteral(
        "Usage: kv9052r-cli COMMAND [OPTIONS]\n"
        "The KV-9052R gateway's configuration without windows.\n\nCommands:\n");
    QList<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return qstrcmp(a.Name, b.Name) < 0; });
    for (const Command& command : sorted)
        text += QStringLiteral("  %1%2\n")
                    .arg(QString::fromLatin1(command.Name).leftJustified(15),
                         QLatin1String(command.Summary));
    text += QStringLiteral(
        "\nA port is COM1..COM16 (or just the number), a device path, or a serial port server\n"
        "on the network: rfc2217://HOST:PORT (telnet with RFC 2217, the line set to\n"
        "115200 8N1) or socket://HOST:PORT (raw TCP, the line set at the server).\n"
        "kv9052r-cli help COMMAND or kv9052r-cli COMMAND --help tells more.\n"
        "Every command takes --json: one JSON document of its result on standard output.\n"
        "  -h, --help     this text\n"
        "  -V, --version  the program's version\n\n"
        "Exit status: 0 success (diff: equal, check: nothing found, apply --dry-run: nothing\n"
        "to change, probe: every command answered), 1 the operation failed (a port, a gateway,\n"
        "an output file, a side that cannot be read), 2 bad usage or unreadable input,\n"
        "3 findings (diff: different, check: warnings only, apply --dry-run: changes, probe: a\n"
        "command not answered), 4 the configuration has problems and would be refused (nothing\n"
        "written), 130 or 143 stopped by SIGINT (Ctrl+C) or SIGTERM. With many ports: the\n"
        "worst port's, in the order 1, 4, 3, 0.\n");
    return text;
}

// The edit distance of two words (insertions, deletions, substitutions); neither Qt nor the
// standard library has one.
qsizetype EditDistance(const QString& a, const QString& b) {
    QList<qsizetype> previous(b.size() + 1), current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j) previous[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The word of `words` closest to `typed`; empty when none is within two edits.
QString Closest(const QString& typed, const QStringList& words) {
    const QString lower = typed.toLower();
    QString closest;
    qsizetype best = 3;  // more than two edits is another word
    for (const QString& word : words) {
        const qsizetype distance = EditDistance(lower, word);
        if (distance < best) {
            best = distance;
            closest = word;
        }
    }
    return closest;
}

// A mistyped command ("raed") names the command it is closest to, when one is close.
QString UnknownCommandText(const QString& name) {
    QStringList names;
    for (const Command& command : Registry()) names.append(QLatin1String(command.Name));
    const QString closest = Closest(name, names);
    QString text = QStringLiteral("unknown command '%1'").arg(name);
    if (!closest.isEmpty()) text += QStringLiteral("; did you mean '%1'?").arg(closest);
    return text;
}

// Qt's refusal, and for a mistyped option ("--jsn") the option it is closest to.
QString ParseErrorText(const QCommandLineParser& parser, const QList<QCommandLineOption>& options) {
    QString text = parser.errorText();
    if (parser.unknownOptionNames().isEmpty()) return text;
    QStringList names;
    for (const QCommandLineOption& option : options)
        for (const QString& name : option.names())
            if (name.size() > 1) names.append(name);
    const QString closest = Closest(parser.unknownOptionNames().first(), names);
    if (!closest.isEmpty())
        text.replace(text.size() - 1, 1, QStringLiteral("; did you mean '--%1'?").arg(closest));
    return text;
}

int RefuseUsage(const QString& problem, const QString& usage, QTextStream& err) {
    err << Program << ": " << problem << "\n" << usage << "\n";
    return ExitUsage;
}

bool HasOption(const Command& command, const QString& name) {
    return std::any_of(
        command.Options.begin(), command.Options.end(),
        [&name](const QCommandLineOption& option) { return option.names().contains(name); });
}

// Commands that name a port (diff may name one as an operand).
bool TalksToGateway(const Command& command) {
    return HasOption(command, QStringLiteral("port")) ||
           QLatin1String(command.Name) == QLatin1String("diff");
}

QList<QCommandLineOption> GatewayOptions() {
    return {{"trace",
             QStringLiteral("Write every line sent to and received from the console into FILE."),
             QStringLiteral("FILE")},
            {"reply-timeout",
             QStringLiteral("Wait up to MS milliseconds (%1..%2) for each console reply "
                            "instead of 200 (EEPROM blocks: a quarter of it). Without it a "
                            "network port adds its round trip to each time-out.")
                 .arg(MinUserReplyTimeoutMs)
                 .arg(MaxUserReplyTimeoutMs),
             QStringLiteral("MS")}};
}

// Every command prints its result as one document with --json (read has its own words).
QCommandLineOption JsonOption() {
    return {QStringLiteral("json"),
            QStringLiteral("Print the result as one JSON document (%1) on standard output; "
                           "messages go to standard error.")
                .arg(QLatin1String(ResultFormat))};
}

void AddCommandOptions(QCommandLineParser& parser, const Command& command) {
    parser.addOptions(command.Options);
    if (!HasOption(command, QStringLiteral("json"))) parser.addOption(JsonOption());
    parser.addOption({{"h", "help"}, QStringLiteral("This command's help.")});
    if (TalksToGateway(command)) parser.addOptions(GatewayOptions());
    for (const Operand& operand : command.Operands)
        parser.addPositionalArgument(QLatin1String(operand.Name),
                                     QLatin1String(operand.Description));
}

}  // namespace

// 0 when the option is not given (or the command has none); nothing when it is no time-out.
std::optional<int> ReplyTimeoutOf(const QCommandLineParser& parser) {
    const QString option = QStringLiteral("reply-timeout");
    if (!parser.optionNames().contains(option)) return 0;
    return UserReplyTimeoutIn(parser.value(option));
}

bool RegisterCommand(const Command& command) {
    Registry().append(command);
    return true;
}

const QList<Command>& Commands() { return Registry(); }

const Command* FindCommand(const QString& name) {
    for (const Command& command : Registry())
        if (name == QLatin1String(command.Name)) return &command;
    return nullptr;
}

QCommandLineOption PortOption() {
    return {{"p", "port"},
            QStringLiteral("The gateway's port: COM3, 3, a device path, rfc2217://HOST:PORT or "
                           "socket://HOST:PORT. Commands that take more than one port take it "
                           "again or a comma list."),
            QStringLiteral("P")};
}

QCommandLineOption QuietOption() {
    return {{"q", "quiet"}, QStringLiteral("No progress line on a terminal.")};
}

QList<QCommandLineOption> BackupOptions() {
    return {{"backup-dir",
             QStringLiteral("Where the gateway's configuration is kept before the write "
                            "(default: ~/.local/share/kv9052r/backups)."),
             QStringLiteral("DIR")},
            {"no-backup", QStringLiteral("Keep no backup of the gateway's configuration.")}};
}

QString BackupFolderOf(const QCommandLineParser& args) {
    if (args.isSet(QStringLiteral("no-backup"))) return {};
    const QString chosen = args.value(QStringLiteral("backup-dir"));
    return chosen.isEmpty() ? DefaultBackupFolder() : chosen;
}

QCommandLineOption OutDirOption() {
    return {"out-dir",
            QStringLiteral("The folder for the files, one per port with more than one port "
                           "(default: the current folder)."),
            QStringLiteral("DIR")};
}

QCommandLineOption EdsTextOption(const char* name) {
    return {QLatin1String(name), QStringLiteral("The EDS file's %1 text.").arg(QLatin1String(name)),
            QStringLiteral("T")};
}

QString UsageLine(const Command& command) {
    return QStringLiteral("Usage: %1 %2 %3")
        .arg(Program, QLatin1String(command.Name), QLatin1String(command.Synopsis))
        .trimmed();
}

QString CommandHelp(const Command& command) {
    QCommandLineParser parser;
    AddCommandOptions(parser, command);
    parser.setApplicationDescription(QLatin1String(command.Summary));
    // Qt's text starts with its own usage line, which knows no commands.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(u'\n'), UsageLine(command));
    return text;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString programUsage = QStringLiteral("Usage: kv9052r-cli COMMAND [OPTIONS]");
    QStringList words = arguments.mid(1);
    if (words.isEmpty()) return RefuseUsage(QStringLiteral("no command given"), programUsage, err);
    const QString first = words.takeFirst();
    if (first == u"--help" || first == u"-h" || (first == u"help" && words.isEmpty())) {
        out << ProgramHelp();
        return ExitOk;
    }
    if (first == u"--version" || first == u"-V") {
        out << Program << " " << KV_VERSION << "\n";
        return ExitOk;
    }
    if (first == u"help") {
        const Command* command = FindCommand(words.first());
        if (command == nullptr)
            return RefuseUsage(UnknownCommandText(words.first()), programUsage, err);
        out << CommandHelp(*command);
        return ExitOk;
    }
    if (first.startsWith(u'-'))
        return RefuseUsage(QStringLiteral("unknown option '%1'").arg(first), programUsage, err);
    const Command* command = FindCommand(first);
    if (command == nullptr) return RefuseUsage(UnknownCommandText(first), programUsage, err);

    QCommandLineParser parser;
    AddCommandOptions(parser, *command);
    // With --json the document repeats what the command told on standard error before it
    // had any port, and a refused usage is a document too.
    ResultDocument result(words.contains(QStringLiteral("--json")), QLatin1String(command->Name));
    CopiedText errCopy(err);
    QTextStream copiedErr(&errCopy);
    QTextStream& told = result.Wanted() ? copiedErr : err;
    const auto refuse = [&](const QString& problem) {
        RefuseUsage(problem, UsageLine(*command), told);
        told.flush();
        result.Print(out, ExitUsage, errCopy.Text());
        return ExitUsage;
    };
    words.prepend(Program + u' ' + first);
    if (!parser.parse(words)) {
        QList<QCommandLineOption> options = command->Options;
        options += JsonOption();
        if (TalksToGateway(*command)) options += GatewayOptions();
        return refuse(ParseErrorText(parser, options));
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << CommandHelp(*command);
        return ExitOk;
    }
    const auto required = std::count_if(command->Operands.begin(), command->Operands.end(),
                                        [](const Operand& operand) { return !operand.Optional; });
    const qsizetype given = parser.positionalArguments().size();
    if (given > command->Operands.size())
        return refuse(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().last()));
    if (given < required)
        return refuse(
            QStringLiteral("%1 missing").arg(QLatin1String(command->Operands[given].Name)));
    const std::optional<int> replyTimeout = ReplyTimeoutOf(parser);
    if (!replyTimeout)
        return refuse(QStringLiteral("--reply-timeout takes ") + UserReplyTimeoutRange());
    TraceFile trace(TalksToGateway(*command) ? parser.value(QStringLiteral("trace")) : QString());
    int status = command->Run({parser, out, told, {*replyTimeout, trace}, result});
    if (const QString failure = trace.Write(); !failure.isEmpty()) {
        told << trace.Path() << ": " << failure << "\n";
        status = WorseStatus(status, ExitFailed);
    }
    told << Qt::flush;
    result.Print(out, status, errCopy.Text());
    return status;
}

}  // namespace kv::cli
