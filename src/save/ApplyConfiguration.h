#pragma once
// `kv9052r-cli apply` as one operation on an open port: read the gateway, merge and check
// the file, write as the save window does (EDS file included), then read the gateway again
// and compare it with what was meant to be written.

#include <QJsonObject>
#include <QStringList>

#include "console/ConsoleLink.h"
#include "console/ReadOut.h"
#include "eds/EdsText.h"

namespace kv {

struct ApplyOptions {
    QStringList EdsFolders;
    EdsInfoTexts EdsInfo;
    bool Verify = true;
    ProgressFn Progress;  // 0..100 over the read, the write and the verifying read
    bool DryRun = false;  // read, merge and check, list the changes, write nothing
};

struct ApplyOutcome {
    bool Ok = false;
    bool Written = false;  // the gateway was changed
    QStringList Errors;    // the window's messages, or "<key path>: <message>" lines
    QStringList Warnings;
    QString EdsPath;
    QStringList Changes;  // what the write changes (ConfigChanges), for a dry run
};

// On an open port, which stays open from the first read to the end of the verify.
ApplyOutcome ApplyConfiguration(ConsoleLink& link, const QJsonObject& file,
                                const ApplyOptions& options);

}  // namespace kv
