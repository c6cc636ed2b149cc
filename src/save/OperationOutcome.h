#pragma once
// What became of an operation on a gateway, as a value: how it ended, what state the
// gateway is in, the backup kept before it wrote, and the detail that only words can carry
// (the system's reason, the port's words, a refusal). The windows' boxes and status and the
// command line's lines are made from it, once, where they are shown.

#include <QString>

#include "console/LinkEnd.h"

namespace kv {

enum class OutcomeKind {
    Succeeded,
    Refused,         // before any port opened (a file or setting that cannot be written)
    PortNotOpened,   // Detail says why
    NoAnswer,        // the gateway did not answer in time
    DeviceLost,      // the port went away; Detail is the port's words
    OutOfTime,       // the operation's bound passed
    Stopped,         // a stop signal or a Cancel; Detail says which, if anyone asks
    FileNotWritten,  // the gateway is done, an output file is not; Detail says why
};

// What became of the gateway.
enum class ApplyState {
    NotWritten,          // nothing was sent that changes it
    PartlyWritten,       // the write stopped half-way; the backup gets it back
    WrittenNotVerified,  // written; the read-back was skipped or failed
    WrittenDifferent,    // written, but the read-back differs
    WrittenVerified,
};

struct OperationOutcome {
    OutcomeKind Kind = OutcomeKind::Succeeded;
    ApplyState State = ApplyState::NotWritten;
    QString BackupPath;  // the configuration kept before the write; empty: none
    QString Detail;
};

// The kind of an operation whose console exchange failed, by how its link ended.
OutcomeKind KindOfFailedExchange(LinkEnd end);

// One line that says what became of the gateway (WrittenNotVerified: not read back at all).
QString ApplyStateText(ApplyState state);

// What became of the gateway, and for a partly written gateway with a backup the command that
// gives it back on `port`; one line each.
QString GatewayStateText(ApplyState state, const QString& backupPath, const QString& port);

// What a person reads, one line each: what happened (none for a success), what became of the
// gateway, and for a partly written gateway with a backup the command that gives it back on
// `port`.
QString OutcomeText(const OperationOutcome& outcome, const QString& port);

}  // namespace kv
