#include "sim/SimOptions.h"

#include <QCommandLineParser>
#include <cmath>

#include "platform/PortNaming.h"

namespace kv::sim {

namespace {

const QString UsageLine = QStringLiteral("Usage: kv9052r-gateway-sim [options]");

std::optional<int> WholeNumber(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum) return std::nullopt;
    return value;
}

}  // namespace

ParsedSimOptions ParseSimOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A virtual KV-9052R gateway on a pseudo-terminal."));
    const QCommandLineOption model(
        "model",
        "q5308RT (default), vMAR-5308RT_LAN, KLT-400, or MX-2100 (a controller the utility "
        "refuses).",
        "name");
    const QCommandLineOption eeprom("eeprom",
                                    "Keep the EEPROM in this file (created when missing).", "file");
    const QCommandLineOption demo("demo", "Start from a configured gateway.");
    const QCommandLineOption maximal("maximal",
                                     "Start with every command slot in use (for benchmarks).");
    const QCommandLineOption factory("factory", "Start from a new gateway (default).");
    const QCommandLineOption com("com", "Publish the gateway as COM N (1..16).", "N");
    const QCommandLineOption latency(
        "latency-ms", "Console latency per line in milliseconds (default 1).", "milliseconds");
    const QCommandLineOption noLineSpeed("no-line-speed",
                                         "Answer at once instead of at 115200 bit/s.");
    const QCommandLineOption stopAfter("stop-after", "Answer this many lines, then go silent.",
                                       "lines");
    const QCommandLineOption garble("garble", "Print junk instead of answers.");
    const QCommandLineOption neverQuiet("never-quiet",
                                        "After the first answer, send blanks for ever.");
    const QCommandLineOption trace(
        "trace",
        "Write what went over the wire to this file when the gateway stops: milliseconds, "
        "\"->\" for what the gateway sent, \"<-\" for what it received.",
        "file");
    const QCommandLineOption help({"h", "help"}, "This text.");
    const QCommandLineOption version({"V", "version"}, "The program's version.");
    parser.addOptions({model, eeprom, demo, maximal, factory, com, latency, noLineSpeed, stopAfter,
                       garble, neverQuiet, trace, help, version});

    ParsedSimOptions parsed;
    if (!parser.parse(arguments)) {
        parsed.Error = parser.errorText();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.Error = "Unexpected argument: " + parser.positionalArguments().first();
        return parsed;
    }
    if (parser.isSet(help)) {
        // Qt's text starts with a usage line of its own.
        parsed.Help = parser.helpText();
        parsed.Help.replace(0, parsed.Help.indexOf(u'\n'), UsageLine);
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.Help = QStringLiteral("kv9052r-gateway-sim " KV_VERSION "\n");
        return parsed;
    }

    SimOptions options;
    if (parser.isSet(model)) {
        const std::optional<ControllerModel> named = ModelFromName(parser.value(model));
        if (!named) {
            parsed.Error = "Unknown model: " + parser.value(model) +
                           " (q5308RT, vMAR-5308RT_LAN, KLT-400 or MX-2100)";
            return parsed;
        }
        options.Model = *named;
    }
    if (int(parser.isSet(demo)) + int(parser.isSet(maximal)) + int(parser.isSet(factory)) > 1) {
        parsed.Error = QStringLiteral("--demo, --maximal and --factory exclude each other");
        return parsed;
    }
    options.Image = parser.isSet(demo)      ? StartImage::Demo
                    : parser.isSet(maximal) ? StartImage::Maximal
                                            : StartImage::Factory;
    options.EepromPath = parser.value(eeprom);
    if (parser.isSet(com)) {
        const std::optional<int> number = WholeNumber(parser.value(com), 1, ComPortCount);
        if (!number) {
            parsed.Error = "--com takes a port number 1.." + QString::number(ComPortCount);
            return parsed;
        }
        options.ComNumber = *number;
    }
    if (parser.isSet(latency)) {
        bool ok = false;
        const double milliseconds = parser.value(latency).toDouble(&ok);
        if (!ok || !std::isfinite(milliseconds) || milliseconds < 0 || milliseconds > 60000) {
            parsed.Error = QStringLiteral("--latency-ms takes milliseconds 0..60000");
            return parsed;
        }
        options.Latency = std::chrono::microseconds(std::llround(milliseconds * 1000));
    }
    options.LineSpeed = !parser.isSet(noLineSpeed);
    if (parser.isSet(stopAfter)) {
        const std::optional<int> lines = WholeNumber(parser.value(stopAfter), 0, 1000000000);
        if (!lines) {
            parsed.Error = QStringLiteral("--stop-after takes a number of lines");
            return parsed;
        }
        options.Faults.StopAfterLines = *lines;
    }
    if (parser.isSet(garble)) options.Faults.GarbleAfterLines = 0;
    if (parser.isSet(neverQuiet)) options.Faults.NeverQuietAfterLines = 0;
    options.TracePath = parser.value(trace);
    parsed.Options = options;
    return parsed;
}

QString SimUsageLine() { return UsageLine; }

}  // namespace kv::sim
