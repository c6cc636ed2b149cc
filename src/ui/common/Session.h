#pragma once
// What the windows of one program run share: the configuration, the gateway session that
// owns the one serial port, the dialogs, and the main window's state that the other
// windows read or report to.

#include <QString>
#include <functional>
#include <optional>

#include "config/GatewayConfig.h"
#include "modbus/ProbeRecord.h"
#include "session/GatewaySession.h"
#include "ui/common/Dialogs.h"

namespace kv {

// The refusal of anything that would share the port with a running read-out.
inline const char* const ConnectingNowText = "Module is connecting now!";
// What a window says first after its Cancel ended an operation.
inline const char* const CancelledText = "Cancelled.";

struct Session {
    GatewayConfig& Config;
    // Busy (IsBusy) while any window's operation runs: the windows' one busy state. No
    // other operation may start meanwhile, and no window that awaits one may close.
    GatewaySession& Gateway;
    kv::Dialogs& Dialogs;
    // The port chosen in the main window's list (COM 1..16); the save uses it too.
    int PortNumber = 1;
    // The file the configuration was opened from; empty when it came from a read-out. A
    // save of an opened configuration reads the gateway first and shows what changes.
    QString OpenedFile = {};
    // The configuration as last read from the gateway, kept as a backup before a write.
    std::optional<GatewayConfig> LastRead = {};
    // The configuration as last read from or written to a gateway, or opened from or saved
    // to a file; none before the first. What differs from it would be lost unasked.
    std::optional<GatewayConfig> Saved = {};
    // What the probes of the Modbus devices found (the latest of each class), for the report.
    QList<ProbeRecord> Probes = {};
    // Where backups go before a write; empty: none are kept.
    QString BackupFolder = {};
    // The main window's status text (CommunicationState), which the save reports to.
    std::function<void(const QString& text)> SetCommunicationState = [](const QString&) {};
};

// Whether the configuration holds changes that are in no gateway and no file. The editor's
// working copy does not count: "Back" throws it away (after asking, when it differs).
bool HasUnsavedChanges(const Session& session);
// The configuration as it is now is in a gateway or a file.
void MarkSaved(Session& session);

}  // namespace kv
