#include "report/ReportSubject.h"

#include "config/ConfigFile.h"
#include "config/ConfigJson.h"

namespace kv {

ReportSubject WholeConfigSubject(const GatewayConfig& config, const QString& source,
                                 const QString& fileTextName) {
    return {.Config = config,
            .Source = source,
            .FileText = ConfigFileText(config),
            .FileTextName = fileTextName,
            .Findings = FindingsOfConfig(config)};
}

// What the file gives is taken into an empty configuration; the report shows nothing of
// the rest. The findings are of the file alone, as `check FILE` finds them.
ReportSubject FileSubject(const ConfigFileRead& file, const QByteArray& bytes,
                          const QString& name) {
    QStringList refused;  // the same as the findings' problems
    GatewayConfig config = MergeConfigJsonKeepingGood(file.Json, GatewayConfig{}, refused);
    config.FirmwareInfo = FirmwareInfoOf(file.Json);
    return {.Config = config,
            .Source = name,
            .FileText = bytes,
            .FileTextName = name,
            .Findings = FindingsOfFile(file.Json, {file.Numbers, false}),
            .File = file.Json};
}

}  // namespace kv
