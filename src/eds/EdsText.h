#pragma once
// The text of the DeviceNet Electronic Data Sheet that describes one saved configuration:
// the gateway's poll connection entries (its Ethernet addresses and every Modbus command
// that moves data), its parameters and the two texts the user typed for it.

#include <QDateTime>
#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

// The two texts of the save window's "EDS File Information" frame.
struct EdsInfoTexts {
    QString Description;
    QString CreatedBy;
};

// Every line ends in CR LF. The connection entries come from the editor's working copy,
// the port parameters from SerialClasses, the default connections from `pollPaths`;
// `moment` is written as the creation and modification time.
QString EdsText(const GatewayConfig& config, const ConnectionPaths& pollPaths,
                const EdsInfoTexts& info, const QDateTime& moment);

}  // namespace kv
