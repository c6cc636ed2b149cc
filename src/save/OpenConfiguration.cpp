#include "save/OpenConfiguration.h"

#include "config/ConfigFile.h"
#include "config/ConfigJson.h"
#include "config/WorkingCopy.h"
#include "save/ApplyPlan.h"

namespace kv {

OpenedConfiguration OpenConfigurationFile(const QString& path) {
    const ConfigFileRead file = ReadConfigFile(path);
    if (!file.ok()) return {{}, {file.Error}};
    return OpenConfigurationJson(file.Json, file.Numbers);
}

OpenedConfiguration OpenConfigurationJson(QJsonObject json, const WrittenNumbers& written) {
    // The editor's rules hold for what is opened into it, also for a kept backup.
    json.remove(QLatin1String(ConfigBackupKey));
    ApplyPlan plan = PlanApply(GatewayConfig{}, json, written);
    if (!plan.ok()) return {{}, plan.Errors};
    OpenedConfiguration opened{plan.Config, {}};
    // A file always holds the Modbus classes, as a configured gateway does.
    opened.Config.ConfigMarker = ConfigMarkerValid;
    opened.Config.ConnectionPaths = plan.PollPaths;
    opened.Config.FirmwareInfo = FirmwareInfoOf(json);
    DiscardWorkingCopy(opened.Config);
    return opened;
}

}  // namespace kv
