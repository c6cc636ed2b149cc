#pragma once
// `kv9052r-cli apply` as one operation on an open port: read the gateway, merge and check
// the file, write what differs from the read (or all, as the save window does; EDS file
// included), then read the gateway again and compare it with what was meant to be written.

#include <QJsonObject>
#include <QStringList>
#include <functional>

#include "config/FieldText.h"
#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "eds/EdsText.h"
#include "save/OperationOutcome.h"

namespace kv {

struct ApplyOptions {
    QStringList EdsFolders;
    EdsInfoTexts EdsInfo;
    bool Verify = true;
    ProgressFn Progress;  // 0..100 over the read, the write and the verifying read
    bool DryRun = false;  // read, merge and check, list the changes, write nothing
    // Where the configuration read first is kept before the write; empty: not kept.
    QString BackupFolder;
    QString PortName;  // for the backup's name
    // Told the backup's path as soon as it is written, before the write begins.
    std::function<void(const QString& path)> BackupKept;
    // A configuration that cannot work as meant (ConfigWarnings), and a kept backup that
    // holds values outside the checks, are refused, not written.
    bool Strict = false;
    // Rewrites every block and Ethernet setting, not only what differs from the read.
    bool FullWrite = false;
};

struct ApplyOutcome {
    bool Ok = false;
    bool Written = false;  // the gateway was changed
    bool Refused = false;  // the checks refused the configuration: nothing was written
    QStringList Errors;    // the window's messages, or "<key path>: <message>" lines
    QStringList Warnings;
    QString EdsPath;
    QList<FieldChange> Changes;  // what the write changes (ConfigChanges), once checked
    ApplyState State = ApplyState::NotWritten;
    QString BackupPath;             // the configuration as read before the write
    bool ConsoleFailed = false;     // the gateway stopped answering (the last exchange tells more)
    bool NotOurController = false;  // the read-out met a controller the program refuses
    // The gateway's node ID and IP address as the file makes them; empty before that.
    QString NodeId;
    QString Ip;
    bool NothingToChange = false;  // the gateway held it all: nothing was sent, nor kept
};

// The gateway read again after a save, compared with what was written.
struct ReadBack {
    bool Read = false;
    QString ReadFailure;
    QStringList Differences;  // JsonDifferences: "<key path>: <written>, read <held>"
};
ReadBack ReadBackAfterSave(ConsoleLink& link, GatewayConfig written, const ConnectionPaths& paths,
                           const ProgressFn& progress);

// What a write that ended early left of the gateway: partly written once a line that
// changes it went out, else nothing written.
inline ApplyState StateAfterEndedWrite(const ConsoleLink& link) {
    return link.ChangeSent() ? ApplyState::PartlyWritten : ApplyState::NotWritten;
}

// One line that says what became of the gateway, for a state after a write.
QString ApplyStateText(const ApplyOutcome& outcome);

// On an open port, which stays open from the first read to the end of the verify.
ApplyOutcome ApplyConfiguration(ConsoleLink& link, const QJsonObject& file,
                                const ApplyOptions& options);

}  // namespace kv
