#pragma once
// A probe's results as people and scripts read them: one line per command and a summary,
// or the fields of a result document.

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "modbus/ProbeResult.h"

namespace kv {

// Values a line shows; the JSON document holds them all.
inline constexpr int ShownValues = 8;

// "Server1 instance 2, FC16 probed by reading with FC03, 40101-40102: exception 02 Illegal
// Data Address"; "... : ok: 17 (0x0011), 18 (0x0012)".
QString ProbeLine(const ProbeResult& result);
// The parts of the line: "FC16 probed by reading with FC03"; "exception 02 Illegal Data
// Address".
QString ProbeFunctionText(const ProbeResult& result);
QString ProbeOutcomeText(const ProbeResult& result);

// "18 of 20 commands answered; 1 exception, 1 time-out".
QString ProbeSummary(const QList<ProbeResult>& results);

// The results as the fields of a result document: {"Probes": [one per command], "Summary":
// {"Text", the counts}}.
QJsonObject ProbeFields(const QList<ProbeResult>& results);
// The order of the keys of a probe entry ("Probes") and of "Summary"; none for other holders.
QStringList ProbeKeyOrder(const QString& holderKey);

}  // namespace kv
