#include "save/OutcomeOf.h"

#include "console/Messages.h"

namespace kv {
namespace {

// The kind of a copy's end; a file that cannot be read for a restore is refused before
// the port is used, one that cannot be written after a backup's read is not written.
OutcomeKind CopyKind(CopyDirection direction, CopyResult result, const LinkEndState& end) {
    switch (result) {
        case CopyResult::Ok:
            return OutcomeKind::Succeeded;
        case CopyResult::Timeout:
            return KindOfFailedExchange(end.Kind);
        case CopyResult::FileError:
            return direction == CopyDirection::Import ? OutcomeKind::FileNotWritten
                                                      : OutcomeKind::Refused;
        case CopyResult::UnknownController:
        case CopyResult::FileTypeError:
        case CopyResult::IncompleteFile:
        case CopyResult::NoBackupKept:
            break;
    }
    return OutcomeKind::Refused;
}

}  // namespace

OperationOutcome OutcomeOf(ReadOutResult result, const LinkEndState& end) {
    switch (result) {
        case ReadOutResult::Ok:
            return {};
        case ReadOutResult::UnknownController:
            return {
                OutcomeKind::Refused, ApplyState::NotWritten, {}, ReadOutFailureText(result, end)};
        case ReadOutResult::Timeout:
            break;
    }
    return {KindOfFailedExchange(end.Kind),
            ApplyState::NotWritten,
            {},
            ReadOutFailureText(result, end)};
}

OperationOutcome OutcomeOf(const ApplyOutcome& outcome, const LinkEndState& end) {
    OperationOutcome told{OutcomeKind::Succeeded, outcome.State, outcome.BackupPath,
                          outcome.Errors.join(u'\n')};
    if (outcome.Ok && outcome.State == ApplyState::NotWritten)
        told.Detail = FieldChangeTexts(outcome.Changes).join(u'\n');
    if (outcome.Ok) return told;
    if (outcome.NotOurController)
        told.Kind = OutcomeKind::Refused;
    else if (outcome.ConsoleFailed)
        told.Kind = KindOfFailedExchange(end.Kind);
    else if (outcome.State == ApplyState::NotWritten && !outcome.NothingToChange)
        told.Kind = OutcomeKind::Refused;
    else if (outcome.EdsPath.isEmpty())
        told.Kind = OutcomeKind::FileNotWritten;
    return told;
}

OperationOutcome OutcomeOf(WriteResult result, const ConsoleLink& link, const QString& backupPath) {
    if (result == WriteResult::Ok)
        return {OutcomeKind::Succeeded, ApplyState::WrittenNotVerified, backupPath, {}};
    return {KindOfFailedExchange(link.End().Kind), StateAfterEndedWrite(link), backupPath,
            ExchangeFailureText(link.End())};
}

OperationOutcome OutcomeOf(const CopyOutcome& outcome, const QString& path,
                           const LinkEndState& end) {
    return {CopyKind(CopyDirection::Import, outcome.Result, end),
            ApplyState::NotWritten,
            {},
            CopyOutcomeMessage(CopyDirection::Import, outcome, path, end).Text};
}

OperationOutcome OutcomeOf(const RestoreOutcome& outcome, const QString& path,
                           const LinkEndState& end) {
    return {CopyKind(CopyDirection::Export, outcome.Copy.Result, end), outcome.State,
            outcome.BackupPath,
            CopyOutcomeMessage(CopyDirection::Export, outcome.Copy, path, end).Text};
}

}  // namespace kv
