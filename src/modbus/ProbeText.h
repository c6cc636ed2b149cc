#pragma once
// A probe's results as people and scripts read them: one line per command and a summary,
// or one JSON document.

#include <QByteArray>
#include <QList>
#include <QString>

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

// {"Format": "kv9052r-result/1", "Commands": [...], "Summary": {...}}, indented.
QByteArray ProbeJson(const QList<ProbeResult>& results);

}  // namespace kv
