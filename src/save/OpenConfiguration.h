#pragma once
// A configuration opened from a file, to edit and save without having read a gateway: the
// file read as `apply` reads it, with every check, merged into an empty configuration.

#include <QJsonObject>
#include <QStringList>

#include "config/GatewayConfig.h"
#include "config/JsonSourceText.h"

namespace kv {

struct OpenedConfiguration {
    GatewayConfig Config;  // with the marker of a configured gateway and the poll paths
    QStringList Errors;    // every problem of the file; when any, Config is empty
    bool ok() const { return Errors.isEmpty(); }
};

OpenedConfiguration OpenConfigurationFile(const QString& path);
// The same for the JSON object of a file already read (with its numbers as it wrote them).
OpenedConfiguration OpenConfigurationJson(QJsonObject json, const WrittenNumbers& written = {});

}  // namespace kv
