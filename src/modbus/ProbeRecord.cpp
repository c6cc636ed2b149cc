#include "modbus/ProbeRecord.h"

#include <QSet>

namespace kv {

void KeepProbe(QList<ProbeRecord>& kept, const ProbeRecord& made) {
    QSet<int> probed;
    for (const ProbeResult& result : made.Results) probed.insert(result.ClassIndex);
    for (ProbeRecord& record : kept)
        record.Results.removeIf(
            [&probed](const ProbeResult& result) { return probed.contains(result.ClassIndex); });
    kept.removeIf([](const ProbeRecord& record) { return record.Results.isEmpty(); });
    kept.append(made);
}

}  // namespace kv
