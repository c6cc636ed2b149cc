#include "save/CheckFindings.h"

#include <utility>

#include "config/ConfigJson.h"
#include "config/ConfigWarnings.h"

namespace kv {

CheckFindings FindingsOfFile(const QJsonObject& file, const FileCheckOptions& options) {
    return {FileProblems(file, options), FileWarnings(file, options)};
}

CheckFindings FindingsOfConfig(const GatewayConfig& config, bool strict) {
    CheckFindings found{FileProblems(ConfigToJson(config)), ConfigWarnings(config)};
    if (strict) found.Problems += std::exchange(found.Warnings, {});
    return found;
}

}  // namespace kv
