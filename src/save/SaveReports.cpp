#include "save/SaveReports.h"

#include "config/ParameterChecks.h"
#include "console/Messages.h"

namespace kv {

FailureReport ReportWriteFailure() {
    const QString text = QString::fromLatin1(TimeoutText);
    return {text, {}, text};
}

FailureReport ReportSaveFailure(const SaveOutcome& outcome) {
    if (outcome.Status == SaveStatus::Refused)
        return {outcome.ErrorText + QStringLiteral("\nNothing was written."),
                QString::fromLatin1(SettingErrorTitle),
                {}};
    if (outcome.Status == SaveStatus::EdsFileFailed) return {outcome.ErrorText, {}, QString()};
    return ReportWriteFailure();
}

}  // namespace kv
