#pragma once
// The probes made from the windows, kept for the commissioning report: the latest results
// of each class, with when they were made.

#include <QDateTime>
#include <QList>

#include "modbus/ProbeResult.h"

namespace kv {

struct ProbeRecord {
    QDateTime Made;
    QList<ProbeResult> Results;
};

// Adds `made` to `kept`; what `kept` held for the classes `made` probed goes.
void KeepProbe(QList<ProbeRecord>& kept, const ProbeRecord& made);

}  // namespace kv
