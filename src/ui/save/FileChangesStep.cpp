// Before an opened configuration is saved, the gateway on the chosen port is read as the
// main window reads it, and the fields that will change are shown for the user to write
// or cancel.

#include "console/Messages.h"
#include "console/ReadOut.h"
#include "save/ConfigChanges.h"
#include "ui/common/Session.h"
#include "ui/save/EDSAndEEPSet.h"

namespace kv {

bool EDSAndEEPSet::ConfirmFileChanges() {
    SetBusy(true);
    if (!OpenPort()) return false;
    GatewayConfig held;
    const ReadOutResult result = ReadGateway(session_.Link, held, [](int) {});
    if (result != ReadOutResult::Ok) {
        ProcessError({ReadOutFailureText(result), QStringLiteral("Error"), TimeoutText});
        return false;
    }
    session_.Link.Port().Close();
    const QStringList changes = ConfigChanges(held, AsWritten(session_.Config, working_));
    const QString text =
        changes.isEmpty() ? QString::fromLatin1(NoChangesText) : changes.join(u'\n');
    SetBusy(false);
    return session_.Dialogs.Confirm(text, QString::fromLatin1(ChangesTitle),
                                    QStringLiteral("Write"));
}

}  // namespace kv
