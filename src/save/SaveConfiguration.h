#pragma once
// The whole save after the port is open: the write-back, the EDS file for what was
// written, and the read-back class records brought up to date.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "config/GatewayConfig.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "eds/EdsText.h"

namespace kv {

enum class SaveStatus {
    Ok,
    Timeout,        // the console stopped answering; the gateway keeps what was written
    Refused,        // the Ethernet "Set" refuses an address (ErrorText); nothing was sent
    EdsFileFailed,  // the gateway holds the new configuration, but the EDS file is missing
};

struct SaveOutcome {
    SaveStatus Status = SaveStatus::Ok;
    QString EdsPath;    // where the EDS file went, on success
    QString ErrorText;  // the system's reason, for EdsFileFailed; the Set's message, for Refused
};

struct SaveRequest {
    ConnectionPaths PollPaths;  // the save window's working paths
    EdsInfoTexts EdsInfo;
    QStringList EdsFolders;  // tried in order
    // What the gateway was read holding: only what differs from it is written. None: all.
    const GatewayConfig* Held = nullptr;
};

// On an open port. A configuration whose addresses the Ethernet "Set" refuses is refused
// before the first line is sent. Progress 10..120 during the write, 130 at the end of a success.
// Only a full success copies the editor's classes into the read-back records.
SaveOutcome SaveConfiguration(ConsoleLink& link, GatewayConfig& config, const SaveRequest& request,
                              const ProgressFn& progress);

// The text CommunicationState shows after a successful save.
QString SaveDoneText(const SaveOutcome& outcome);

}  // namespace kv
