// Before an opened configuration is written, the gateway on the chosen port is read as the
// main window reads it, for the backup; before a save, the fields that will change are
// shown for the user to write or cancel.

#include "config/ConfigWarnings.h"
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

void EDSAndEEPSet::ReadGatewayThen(std::function<void(const GatewayConfig&)> next) {
    RunOnGateway<HeldConfig>(
        SaveProgressMaximum,
        [](ConsoleLink& link, GatewayConfig&, const ProgressFn&) {
            HeldConfig held;
            held.Result = ReadGateway(link, held.Config, {});
            return held;
        },
        [this, next = std::move(next)](const HeldConfig& held) {
            if (held.Result != ReadOutResult::Ok)
                return ProcessError({ReadOutFailureText(held.Result, session_.Gateway.LastEnd()),
                                     QStringLiteral("Error"),
                                     TimeoutText,
                                     {},
                                     MessageKind::Error});
            ShowBusy(false);
            next(held.Config);
        });
}

void EDSAndEEPSet::ReadBeforeFileSave() {
    ReadGatewayThen([this](const GatewayConfig& read) {
        const GatewayConfig written = AsWritten(session_.Config, working_);
        const QStringList changes = FieldChangeTexts(ConfigChanges(read, written));
        QString text = changes.isEmpty() ? QString::fromLatin1(NoChangesText) : changes.join(u'\n');
        if (const QStringList warnings = ConfigWarnings(written); !warnings.isEmpty())
            text += QStringLiteral("\n\nWarnings:\n") + warnings.join(u'\n');
        if (session_.Dialogs.Confirm(text, QString::fromLatin1(ChangesTitle),
                                     QStringLiteral("Write")) &&
            KeepBackupBeforeWrite(read))
            WriteToGateway();
    });
}

}  // namespace kv
