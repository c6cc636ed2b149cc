#include "cli/ResultDocument.h"

#include "cli/Invocation.h"
#include "cli/PortTable.h"
#include "config/ConfigJson.h"
#include "config/OrderedJsonText.h"
#include "modbus/ProbeText.h"
#include "platform/PortNaming.h"
#include "save/ResultEntry.h"

namespace kv::cli {
namespace {

// The keys of the document in the order it is written; a port's configuration keeps the
// order of the configuration file.
QStringList ResultKeyOrder(const QString& holder) {
    if (holder.isEmpty())
        return {"Format",   "Command",     "Status",  "Message",  "File",     "Class",
                "Compared", "Differences", "LeftOut", "Problems", "Warnings", "Commands",
                "ComPorts", "Probes",      "Summary", "Ports"};
    if (holder == u"Ports")
        return {"Port",    "Device",        "Outcome", "State",   "Message",  "Backup",
                "Seconds", "NodeId",        "Ip",      "Changes", "Problems", "Warnings",
                "File",    "Configuration", "Probes",  "Summary"};
    if (holder == u"Changes") return {"Path", "Before", "After", "BeforeText", "AfterText"};
    if (holder == u"Differences") return {"Path", "A", "B", "AText", "BText"};
    if (holder == u"Problems" || holder == u"Warnings") return {"Path", "Message"};
    if (holder == u"ComPorts")
        return {"Port", "Device", "Source", "Description", "Manufacturer", "StableName", "Refusal"};
    if (holder == u"Compared") return {"A", "B", "Raw"};
    if (holder == u"Configuration") return ConfigKeyOrder({});
    if (const QStringList probe = ProbeKeyOrder(holder); !probe.isEmpty()) return probe;
    return ConfigKeyOrder(holder);
}

// What is behind the port now: the device of COM n (empty when nothing is), else the port as
// given (a device path or a network address).
QString DeviceOf(const QString& port) {
    const int number = ComNumberOf(port);
    if (number > 0) return ResolveComPort(number);
    return number == 0 ? port : QString();
}

// How a run without an outcome of its own ended, by its status; any failed kind reads
// "failed".
OperationOutcome OutcomeOfStatus(int status) {
    if (status == ExitOk || status == ExitFindings) return {};
    return {status == ExitProblems ? OutcomeKind::Refused : OutcomeKind::NoAnswer, {}, {}, {}};
}

// What a person reads of the run: its failure (the lines after its warnings), else its output.
QString MessageOf(const PortRun& run) {
    const QStringList failure = run.Err.split(u'\n', Qt::SkipEmptyParts).mid(run.WarningLines);
    return failure.isEmpty() ? run.Out.trimmed() : failure.join(u'\n').trimmed();
}

QJsonObject PortEntry(const QString& port, const OperationOutcome& outcome, bool writes) {
    QJsonObject entry = OutcomeEntry(outcome, writes);
    entry.insert(QStringLiteral("Port"), port);
    entry.insert(QStringLiteral("Device"), DeviceOf(port));
    return entry;
}

}  // namespace

void ResultDocument::AddPort(const QString& port, const PortRun& run) {
    if (!wanted_) return;
    // A run with an outcome of its own knows whether a stop ended it; of the others, those that
    // failed once a stop had come were cut short by it, those that failed before were not.
    OperationOutcome outcome = run.Outcome.value_or(OutcomeOfStatus(run.Status));
    if (!run.Outcome && run.EndedAfterStop && run.Status != ExitOk)
        outcome.Kind = OutcomeKind::Stopped;
    QJsonObject entry = PortEntry(port, outcome, Writes);
    entry.insert(QStringLiteral("Message"), MessageOf(run));
    entry.insert(QStringLiteral("Seconds"), qRound(run.Seconds * 10) / 10.0);
    for (auto it = run.Result.begin(); it != run.Result.end(); ++it) entry.insert(it.key(), *it);
    ports_.append(entry);
}

void ResultDocument::AddRefusedPort(const QString& port, const QString& message,
                                    const QJsonObject& fields) {
    if (!wanted_) return;
    QJsonObject entry = PortEntry(port, {OutcomeKind::Refused, {}, {}, {}}, Writes);
    entry.insert(QStringLiteral("Message"), message);
    entry.insert(QStringLiteral("Seconds"), 0);
    for (auto it = fields.begin(); it != fields.end(); ++it) entry.insert(it.key(), *it);
    ports_.append(entry);
}

void ResultDocument::Print(QTextStream& out, int status, const QString& told) const {
    if (!wanted_) return;
    QJsonObject document = Fields;
    if (ports_.isEmpty() && !document.contains(QStringLiteral("Message")))
        document.insert(QStringLiteral("Message"), told);
    document.insert(QStringLiteral("Format"), QLatin1String(ResultFormat));
    document.insert(QStringLiteral("Command"), command_);
    document.insert(QStringLiteral("Status"), status);
    document.insert(QStringLiteral("Ports"), ports_);
    out << OrderedJsonText(document, ResultKeyOrder) << Qt::flush;
}

}  // namespace kv::cli
