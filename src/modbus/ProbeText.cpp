#include "modbus/ProbeText.h"

#include <QJsonArray>
#include <QJsonObject>

#include "config/ClassNames.h"
#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {
namespace {

// Decimal, as the command lists name them ("FC16 Preset Multiple Registers").
QString FunctionName(int code) { return QStringLiteral("FC%1").arg(code, 2, 10, QLatin1Char('0')); }

QString ValuesText(const ProbeResult& result) {
    QStringList shown;
    const bool bits = IsBitCode(result.ProbedWith);
    for (int value : result.Values.first(std::min<qsizetype>(ShownValues, result.Values.size())))
        shown.append(bits ? QString::number(value)
                          : QStringLiteral("%1 (0x%2)")
                                .arg(value)
                                .arg(QString::number(value, 16).toUpper().rightJustified(4, u'0')));
    if (result.Values.size() > ShownValues) shown.append(QStringLiteral("..."));
    return shown.join(QStringLiteral(", "));
}

struct Tally {
    int Probed = 0, Answered = 0, Exceptions = 0, Timeouts = 0, Unreachable = 0, Malformed = 0,
        Stopped = 0, NotProbed = 0;
};

Tally TallyOf(const QList<ProbeResult>& results) {
    Tally tally;
    for (const ProbeResult& result : results) {
        const ProbeOutcome outcome = result.Outcome;
        tally.Probed += outcome != ProbeOutcome::NotProbed;
        tally.Answered += outcome == ProbeOutcome::Ok;
        tally.Exceptions += outcome == ProbeOutcome::Exception;
        tally.Timeouts += outcome == ProbeOutcome::Timeout;
        tally.Unreachable += outcome == ProbeOutcome::Unreachable;
        tally.Malformed += outcome == ProbeOutcome::Malformed;
        tally.Stopped += outcome == ProbeOutcome::Stopped;
        tally.NotProbed += outcome == ProbeOutcome::NotProbed;
    }
    return tally;
}

QJsonValue NumberOrNull(int value) { return value == 0 ? QJsonValue() : QJsonValue(value); }

QJsonObject CommandJson(const ProbeResult& result) {
    QJsonArray values;
    for (int value : result.Values) values.append(value);
    return {{"Class", ClassName(result.ClassIndex)},
            {"Instance", result.Instance},
            {"FunctionCode", result.FunctionCode},
            {"ProbedWith", NumberOrNull(result.ProbedWith)},
            {"Reference", result.Reference},
            // hyphenated, as the result document's other words are ("not-probed")
            {"Outcome", OutcomeWord(result.Outcome).replace(u' ', u'-')},
            {"ExceptionCode", NumberOrNull(result.ExceptionCode)},
            {"Values", values},
            {"Detail", result.Detail}};
}

}  // namespace

QString ProbeFunctionText(const ProbeResult& result) {
    QString function = FunctionName(result.FunctionCode);
    if (result.ProbedWith != 0 && result.ProbedWith != result.FunctionCode)
        function += QStringLiteral(" probed by reading with ") + FunctionName(result.ProbedWith);
    return function;
}

QString ProbeOutcomeText(const ProbeResult& result) {
    switch (result.Outcome) {
        case ProbeOutcome::Ok:
            return QStringLiteral("ok: ") + ValuesText(result);
        case ProbeOutcome::Exception:
            return QStringLiteral("exception %1 %2")
                .arg(HexByteText(uint8_t(result.ExceptionCode)),
                     ExceptionName(result.ExceptionCode))
                .trimmed();
        case ProbeOutcome::NotProbed:
            return QStringLiteral("not probed (%1)").arg(result.Detail);
        case ProbeOutcome::Stopped:
            return OutcomeWord(result.Outcome);
        default:
            return OutcomeWord(result.Outcome) + QStringLiteral(": ") + result.Detail;
    }
}

QString ProbeLine(const ProbeResult& result) {
    return QStringLiteral("%1 instance %2, %3, %4: %5")
        .arg(ClassName(result.ClassIndex))
        .arg(result.Instance)
        .arg(ProbeFunctionText(result), result.Reference, ProbeOutcomeText(result));
}

QString ProbeSummary(const QList<ProbeResult>& results) {
    const Tally tally = TallyOf(results);
    QStringList findings;
    if (tally.Exceptions) findings.append(CountText(tally.Exceptions, "exception"));
    if (tally.Timeouts) findings.append(CountText(tally.Timeouts, "time-out"));
    if (tally.Unreachable) findings.append(QStringLiteral("%1 unreachable").arg(tally.Unreachable));
    if (tally.Malformed) findings.append(CountText(tally.Malformed, "malformed answer"));
    if (tally.Stopped) findings.append(QStringLiteral("%1 stopped").arg(tally.Stopped));
    QString text = QStringLiteral("%1 of %2 answered")
                       .arg(tally.Answered)
                       .arg(CountText(tally.Probed, "command"));
    if (!findings.isEmpty()) text += QStringLiteral("; ") + findings.join(QStringLiteral(", "));
    if (tally.NotProbed) text += QStringLiteral("; %1 not probed").arg(tally.NotProbed);
    return text;
}

QStringList ProbeKeyOrder(const QString& holderKey) {
    if (holderKey == u"Probes")
        return {"Class",   "Instance",      "FunctionCode", "ProbedWith", "Reference",
                "Outcome", "ExceptionCode", "Values",       "Detail"};
    if (holderKey == u"Summary")
        return {"Text",        "Probed",    "Answered", "Exceptions", "Timeouts",
                "Unreachable", "Malformed", "Stopped",  "NotProbed"};
    return {};
}

QJsonObject ProbeFields(const QList<ProbeResult>& results) {
    QJsonArray probes;
    for (const ProbeResult& result : results) probes.append(CommandJson(result));
    const Tally tally = TallyOf(results);
    const QJsonObject summary{{"Probed", tally.Probed},           {"Answered", tally.Answered},
                              {"Exceptions", tally.Exceptions},   {"Timeouts", tally.Timeouts},
                              {"Unreachable", tally.Unreachable}, {"Malformed", tally.Malformed},
                              {"Stopped", tally.Stopped},         {"NotProbed", tally.NotProbed},
                              {"Text", ProbeSummary(results)}};
    return {{"Probes", probes}, {"Summary", summary}};
}

}  // namespace kv
