#include "sim/SimOptions.h"

#include <QCommandLineParser>
#include <cmath>

#include "platform/PortNaming.h"

namespace kv::sim {

namespace {

const QString UsageLine = QStringLiteral("Usage: kv9052r-gateway-sim [options]");

// Every option of the program, named once: the parser is given them and the readers below
// ask for their values by them.
struct OptionTable {
    QCommandLineOption Model{"model",
                             "q5308RT (default), vMAR-5308RT_LAN, KLT-400, or MX-2100 (a "
                             "controller the utility refuses).",
                             "name"};
    QCommandLineOption Eeprom{"eeprom", "Keep the EEPROM in this file (created when missing).",
                              "file"};
    QCommandLineOption Demo{"demo", "Start from a configured gateway."};
    QCommandLineOption Maximal{"maximal", "Start with every command slot in use (for benchmarks)."};
    QCommandLineOption Factory{"factory", "Start from a new gateway (default)."};
    QCommandLineOption Com{"com", "Publish the gateway as COM N (1..16).", "N"};
    QCommandLineOption Latency{
        "latency-ms", "Console latency per line in milliseconds (default 1).", "milliseconds"};
    QCommandLineOption NoLineSpeed{"no-line-speed", "Answer at once instead of at 115200 bit/s."};
    QCommandLineOption StopAfter{"stop-after", "Answer this many lines, then go silent.", "lines"};
    QCommandLineOption Garble{"garble", "Print junk instead of answers."};
    QCommandLineOption NeverQuiet{"never-quiet", "After the first answer, send blanks for ever."};
    QCommandLineOption Trace{
        "trace",
        "Write what went over the wire to this file when the gateway stops: milliseconds, "
        "\"->\" for what the gateway sent, \"<-\" for what it received.",
        "file"};
    QCommandLineOption Help{{"h", "help"}, "This text."};
    QCommandLineOption Version{{"V", "version"}, "The program's version."};

    QList<QCommandLineOption> All() const {
        return {Model,       Eeprom,    Demo,   Maximal,    Factory, Com,  Latency,
                NoLineSpeed, StopAfter, Garble, NeverQuiet, Trace,   Help, Version};
    }
};

std::optional<int> WholeNumber(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum) return std::nullopt;
    return value;
}

// Each reader sets its share of `options` from the parsed words; it returns the error that
// refuses them, or nothing.
using OptionReader = QString (*)(const QCommandLineParser& parser, const OptionTable& table,
                                 SimOptions& options);

QString ReadModel(const QCommandLineParser& parser, const OptionTable& table, SimOptions& options) {
    if (!parser.isSet(table.Model)) return {};
    const std::optional<ControllerModel> named = ModelFromName(parser.value(table.Model));
    if (!named)
        return "Unknown model: " + parser.value(table.Model) +
               " (q5308RT, vMAR-5308RT_LAN, KLT-400 or MX-2100)";
    options.Model = *named;
    return {};
}

// The EEPROM's file and the image a new one, or one kept in memory, starts from.
QString ReadEeprom(const QCommandLineParser& parser, const OptionTable& table,
                   SimOptions& options) {
    const bool demo = parser.isSet(table.Demo);
    const bool maximal = parser.isSet(table.Maximal);
    if (int(demo) + int(maximal) + int(parser.isSet(table.Factory)) > 1)
        return QStringLiteral("--demo, --maximal and --factory exclude each other");
    options.Image = demo ? StartImage::Demo : maximal ? StartImage::Maximal : StartImage::Factory;
    options.EepromPath = parser.value(table.Eeprom);
    return {};
}

QString ReadComNumber(const QCommandLineParser& parser, const OptionTable& table,
                      SimOptions& options) {
    if (!parser.isSet(table.Com)) return {};
    const std::optional<int> number = WholeNumber(parser.value(table.Com), 1, ComPortCount);
    if (!number) return "--com takes a port number 1.." + QString::number(ComPortCount);
    options.ComNumber = *number;
    return {};
}

// How fast the console answers: its latency per line and the line's own speed.
QString ReadPace(const QCommandLineParser& parser, const OptionTable& table, SimOptions& options) {
    options.LineSpeed = !parser.isSet(table.NoLineSpeed);
    if (!parser.isSet(table.Latency)) return {};
    bool ok = false;
    const double milliseconds = parser.value(table.Latency).toDouble(&ok);
    if (!ok || !std::isfinite(milliseconds) || milliseconds < 0 || milliseconds > 60000)
        return QStringLiteral("--latency-ms takes milliseconds 0..60000");
    options.Latency = std::chrono::microseconds(std::llround(milliseconds * 1000));
    return {};
}

// The faults a test asks of the console: silence, junk or blanks without end.
QString ReadFaults(const QCommandLineParser& parser, const OptionTable& table,
                   SimOptions& options) {
    if (parser.isSet(table.Garble)) options.Faults.GarbleAfterLines = 0;
    if (parser.isSet(table.NeverQuiet)) options.Faults.NeverQuietAfterLines = 0;
    if (!parser.isSet(table.StopAfter)) return {};
    const std::optional<int> lines = WholeNumber(parser.value(table.StopAfter), 0, 1000000000);
    if (!lines) return QStringLiteral("--stop-after takes a number of lines");
    options.Faults.StopAfterLines = *lines;
    return {};
}

QString ReadTrace(const QCommandLineParser& parser, const OptionTable& table, SimOptions& options) {
    options.TracePath = parser.value(table.Trace);
    return {};
}

// In the order their errors are told when more than one option is wrong.
constexpr OptionReader Readers[] = {ReadModel, ReadEeprom, ReadComNumber,
                                    ReadPace,  ReadFaults, ReadTrace};

// The text --help or --version asks for; empty when neither was given.
QString HelpText(const QCommandLineParser& parser, const OptionTable& table) {
    if (parser.isSet(table.Help)) {
        // Qt's text starts with a usage line of its own.
        QString help = parser.helpText();
        return help.replace(0, help.indexOf(u'\n'), UsageLine);
    }
    if (parser.isSet(table.Version)) return QStringLiteral("kv9052r-gateway-sim " KV_VERSION "\n");
    return {};
}

// Qt's refusal of the words, or the first word that is no option.
QString WordsError(QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.parse(arguments)) return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return "Unexpected argument: " + parser.positionalArguments().first();
    return {};
}

}  // namespace

ParsedSimOptions ParseSimOptions(const QStringList& arguments) {
    const OptionTable table;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A virtual KV-9052R gateway on a pseudo-terminal."));
    parser.addOptions(table.All());

    ParsedSimOptions parsed;
    parsed.Error = WordsError(parser, arguments);
    if (!parsed.Error.isEmpty()) return parsed;
    parsed.Help = HelpText(parser, table);
    if (!parsed.Help.isEmpty()) return parsed;
    SimOptions options;
    for (const OptionReader read : Readers) {
        parsed.Error = read(parser, table, options);
        if (!parsed.Error.isEmpty()) return parsed;
    }
    parsed.Options = options;
    return parsed;
}

QString SimUsageLine() { return UsageLine; }

}  // namespace kv::sim
