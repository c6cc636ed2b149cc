#pragma once
// What a save would change in a gateway: each field that differs between what the gateway
// holds and what is to be written, by its key path in the configuration file (shown as
// "<key path>: <old> -> <new>" by FieldChangeTexts). Fields the gateway derives itself
// (FirmwareInfo, ConfigMarker, PortChecksum, ComBaudIndex) are not listed.

#include <QJsonValue>
#include <QStringList>

#include "config/FieldText.h"
#include "config/GatewayConfig.h"

namespace kv {

inline const char* const ChangesTitle = "Changes to write";
inline const char* const NoChangesText = "Nothing to change: the gateway holds this already.";
// A dry run that finds no field to change, but bytes a write would still send: derived values
// (checksum, configuration marker, baud index) the gateway holds stale, or a full write.
inline const char* const OnlyDerivedChangesText =
    "No field changes; the gateway's derived values (checksum, configuration marker, baud "
    "index) differ from what the file gives and a write rewrites them.";
inline const char* const FullWriteWithoutChangesText =
    "No field changes; --full-write rewrites every block all the same.";

QList<FieldChange> ConfigChanges(const GatewayConfig& held, const GatewayConfig& written);

// The configuration the save writes: the editor's working copy of the classes with the
// port settings of the main window, and the poll paths of the save window.
GatewayConfig AsWritten(const GatewayConfig& config, const ConnectionPaths& pollPaths);

}  // namespace kv
