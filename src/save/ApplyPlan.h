#pragma once
// What `kv9052r-cli apply` writes: the configuration read from a gateway with a JSON file
// merged into it, checked value by value with the same rules as the windows. Every value a
// window would refuse is reported with its key path, and then nothing is written.

#include <QJsonObject>
#include <QStringList>

#include "config/GatewayConfig.h"

namespace kv {

struct ApplyPlan {
    GatewayConfig Config;       // with the editor's working copy made from the merged classes
    ConnectionPaths PollPaths;  // the poll paths the save writes
    QStringList Errors;         // "<key path>: <message>"; when any, nothing may be written
    QStringList Warnings;       // values of the file that are ignored
    QStringList Unworkable;     // ConfigWarnings of what would be written
    bool ok() const { return Errors.isEmpty(); }
};

// A file marked as a kept backup (IsKeptBackup) is written as it was read: the value checks
// give warnings instead of errors, and no value is changed by them.
ApplyPlan PlanApply(const GatewayConfig& read, const QJsonObject& file);

// The problems of a file that no gateway mends, found before any port is opened: every
// value it gives, checked as PlanApply checks it. Its poll paths are checked with the
// gateway's classes, by PlanApply.
QStringList FileProblems(const QJsonObject& file);

// The warnings (ConfigWarnings) of a file alone, for the fields it gives: what it leaves
// out is not known without a gateway.
QStringList FileWarnings(const QJsonObject& file);

// The key paths where two JSON values differ, each with both values: "a.b: x, read y".
QStringList JsonDifferences(const QJsonValue& expected, const QJsonValue& actual,
                            const QString& path = {});

}  // namespace kv
