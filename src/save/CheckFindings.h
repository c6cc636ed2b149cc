#pragma once
// What `check` says of a configuration: its problems (what the checks refuse: apply would
// write nothing) and its warnings (what they accept but cannot work as meant). The
// commissioning report lists the same.

#include <QJsonObject>
#include <QStringList>

#include "config/GatewayConfig.h"
#include "save/ApplyPlan.h"

namespace kv {

struct CheckFindings {
    QStringList Problems;
    QStringList Warnings;
};

// Of a configuration file, for the fields it gives: what it leaves out is the gateway's.
// With options.Strict, what apply --strict refuses counts among the problems.
CheckFindings FindingsOfFile(const QJsonObject& file, const FileCheckOptions& options = {});
// Of a whole configuration: a gateway's, or what the windows hold; `strict` as above.
CheckFindings FindingsOfConfig(const GatewayConfig& config, bool strict = false);

}  // namespace kv
