#pragma once
// The fields of a port's entry in the result document of `--json` that an operation's own
// values give: how it ended and what became of the gateway (from its OperationOutcome), the
// fields it changes and the findings of the checks. Every command's entries are made here,
// so one outcome reads the same in every command's document.

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include "config/FieldText.h"
#include "save/OperationOutcome.h"

namespace kv {

// "ok", "failed", "refused" or "stopped". A write whose read-back differs failed.
QString OutcomeWord(const OperationOutcome& outcome);

// "nothing-written", "partly-written", "written" or "written-and-verified".
QString StateWord(ApplyState state);

// Outcome, State (only for an operation that `writes`) and Backup (when one was kept).
QJsonObject OutcomeEntry(const OperationOutcome& outcome, bool writes);

// [{Path, Before, After, BeforeText, AfterText}], the texts as the change lines show them
// (`valueText`); a value one side lacks is null. `before` and `after` name the sides ("A",
// "B" for diff).
QJsonArray ChangesEntry(const QList<FieldChange>& changes, const QString& before = "Before",
                        const QString& after = "After", ValueTextFn valueText = FieldValueText);

// [{Path, Message}] of "<key path>: <message>" lines; a line without a key path has an
// empty Path.
QJsonArray FindingsEntry(const QStringList& lines);

}  // namespace kv
