#pragma once
// What `check` says of a configuration: its problems (what the checks refuse: apply would
// write nothing) and its warnings (what they accept but cannot work as meant). The
// commissioning report lists the same.

#include <QJsonObject>
#include <QStringList>

#include "config/GatewayConfig.h"

namespace kv {

struct CheckFindings {
    QStringList Problems;
    QStringList Warnings;
};

// Of a configuration file, for the fields it gives: what it leaves out is the gateway's.
CheckFindings FindingsOfFile(const QJsonObject& file);
// Of a whole configuration: a gateway's, or what the windows hold.
CheckFindings FindingsOfConfig(const GatewayConfig& config);

}  // namespace kv
