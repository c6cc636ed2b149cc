#include "save/OperationOutcome.h"

#include "console/Messages.h"
#include "save/BackupBeforeWrite.h"

namespace kv {

OutcomeKind KindOfFailedExchange(LinkEnd end) {
    switch (end) {
        case LinkEnd::Stopped:
            return OutcomeKind::Stopped;
        case LinkEnd::DeviceLost:
            return OutcomeKind::DeviceLost;
        case LinkEnd::OutOfTime:
            return OutcomeKind::OutOfTime;
        case LinkEnd::None:
            break;
    }
    return OutcomeKind::NoAnswer;
}

QString ApplyStateText(ApplyState state) {
    switch (state) {
        case ApplyState::NotWritten:
            return QStringLiteral("Nothing was written to the gateway.");
        case ApplyState::PartlyWritten:
            return QStringLiteral("The gateway is partly written.");
        case ApplyState::WrittenNotVerified:
            return QStringLiteral("Written; not read back to verify.");
        case ApplyState::WrittenDifferent:
            return QStringLiteral("Written, but the gateway does not hold what was written.");
        case ApplyState::WrittenVerified:
            return QStringLiteral("Written and verified.");
    }
    return {};
}

namespace {

// What happened, when it was no success: a silent console and a passed bound both say
// "Timeout", as the console's own exchanges always have.
QString KindText(const OperationOutcome& outcome) {
    switch (outcome.Kind) {
        case OutcomeKind::Succeeded:
            return {};
        case OutcomeKind::NoAnswer:
        case OutcomeKind::OutOfTime:
            return QString::fromLatin1(TimeoutText);
        case OutcomeKind::Refused:
        case OutcomeKind::PortNotOpened:
        case OutcomeKind::DeviceLost:
        case OutcomeKind::Stopped:
        case OutcomeKind::FileNotWritten:
            break;
    }
    return outcome.Detail;
}

}  // namespace

QString GatewayStateText(ApplyState state, const QString& backupPath, const QString& port) {
    if (state != ApplyState::PartlyWritten || backupPath.isEmpty()) return ApplyStateText(state);
    return ApplyStateText(state) + u'\n' + RestoreFromBackupText(backupPath, port);
}

QString OutcomeText(const OperationOutcome& outcome, const QString& port) {
    const QString state = GatewayStateText(outcome.State, outcome.BackupPath, port);
    const QString kind = KindText(outcome);
    return kind.isEmpty() ? state : kind + u'\n' + state;
}

}  // namespace kv
