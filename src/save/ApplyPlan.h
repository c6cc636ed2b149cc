#pragma once
// What `kv9052r-cli apply` writes: the configuration read from a gateway with a JSON file
// merged into it, checked value by value with the same rules as the windows. Every value a
// window would refuse is reported with its key path, and then nothing is written.

#include <QJsonObject>
#include <QStringList>

#include "config/GatewayConfig.h"
#include "config/JsonSourceText.h"

namespace kv {

struct ApplyPlan {
    GatewayConfig Config;       // with the editor's working copy made from the merged classes
    ConnectionPaths PollPaths;  // the poll paths the save writes
    QStringList Errors;         // "<key path>: <message>"; when any, nothing may be written
    QStringList Warnings;       // values of the file that are ignored
    // ConfigWarnings of what would be written, but none of a field the merge refused.
    QStringList Unworkable;
    // A kept backup's values that the checks refuse: written back as they were read.
    QStringList Unchecked;
    bool ok() const { return Errors.isEmpty(); }
};

// A kept backup (IsKeptBackup: "Backup": true with a matching fingerprint) is written as
// it was read: what the value checks refuse goes to Unchecked, and no value is changed by
// them. A file that only says "Backup": true is checked as any configuration, and
// Warnings say why (IgnoredBackupMark). Refused numbers are quoted as `written` gives them.
ApplyPlan PlanApply(const GatewayConfig& read, const QJsonObject& file,
                    const WrittenNumbers& written = {});

// How `check` takes a file: the numbers as the file wrote them, for the messages, and
// --strict, which counts what would be a warning as a problem (what `apply --strict`
// refuses: the Unworkable and Unchecked of the plan).
struct FileCheckOptions {
    WrittenNumbers Written;
    bool Strict = false;
};

// The problems of a file that no gateway mends, found before any port is opened: every
// value it gives, checked as PlanApply checks it. Its poll paths are checked with the
// gateway's classes, by PlanApply.
QStringList FileProblems(const QJsonObject& file, const FileCheckOptions& options = {});

// The warnings of a file alone: a "Backup" mark that is not taken, a kept backup's values
// outside the checks, and ConfigWarnings for the fields it gives (what it leaves out is not
// known without a gateway).
QStringList FileWarnings(const QJsonObject& file, const FileCheckOptions& options = {});

// The key paths where two JSON values differ, each with both values: "a.b: x, read y".
QStringList JsonDifferences(const QJsonValue& expected, const QJsonValue& actual,
                            const QString& path = {});

}  // namespace kv
