// Before an opened configuration is saved, the gateway on the chosen port is read as the
// main window reads it, and the fields that will change are shown for the user to write
// or cancel.

#include "console/Messages.h"
#include "console/ReadOut.h"
#include "save/ConfigChanges.h"
#include "ui/common/Session.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {

namespace {

struct HeldConfig {
    ReadOutResult Result = ReadOutResult::Timeout;
    GatewayConfig Config;
};

}  // namespace

void EDSAndEEPSet::ReadBeforeFileSave() {
    RunOnGateway<HeldConfig>(
        SaveProgressMaximum,
        [](ConsoleLink& link, GatewayConfig&, const ProgressFn&) {
            HeldConfig held;
            held.Result = ReadGateway(link, held.Config, {});
            return held;
        },
        [this](const HeldConfig& held) {
            if (held.Result != ReadOutResult::Ok)
                return ProcessError(
                    {ReadOutFailureText(held.Result), QStringLiteral("Error"), TimeoutText});
            SetBusy(false);
            const QStringList changes =
                ConfigChanges(held.Config, AsWritten(session_.Config, working_));
            const QString text =
                changes.isEmpty() ? QString::fromLatin1(NoChangesText) : changes.join(u'\n');
            if (session_.Dialogs.Confirm(text, QString::fromLatin1(ChangesTitle),
                                         QStringLiteral("Write")) &&
                KeepBackupBeforeWrite(held.Config))
                WriteToGateway();
        });
}

}  // namespace kv
