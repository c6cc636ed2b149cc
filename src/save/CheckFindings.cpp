#include "save/CheckFindings.h"

#include "config/ConfigJson.h"
#include "config/ConfigWarnings.h"
#include "save/ApplyPlan.h"

namespace kv {

CheckFindings FindingsOfFile(const QJsonObject& file) {
    return {FileProblems(file), FileWarnings(file)};
}

CheckFindings FindingsOfConfig(const GatewayConfig& config) {
    return {FileProblems(ConfigToJson(config)), ConfigWarnings(config)};
}

}  // namespace kv
