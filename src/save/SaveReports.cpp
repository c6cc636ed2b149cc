#include "save/SaveReports.h"

#include "config/ParameterChecks.h"
#include "console/Messages.h"

namespace kv {

FailureReport ReportWriteFailure(const LinkEndState& end) {
    return {ExchangeFailureText(end), {}, QString::fromLatin1(TimeoutText), {}, {}};
}

FailureReport ReportSaveFailure(const SaveOutcome& outcome, const LinkEndState& end) {
    if (outcome.Status == SaveStatus::Refused)
        return {outcome.ErrorText + QStringLiteral("\nNothing was written."),
                QString::fromLatin1(SettingErrorTitle),
                {},
                {},
                MessageKind::Error};
    if (outcome.Status == SaveStatus::EdsFileFailed)
        return {outcome.ErrorText, {}, QString(), {}, {}};
    return ReportWriteFailure(end);
}

}  // namespace kv
