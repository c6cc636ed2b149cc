#pragma once
// A configuration file on disk: what `read --json` prints and `apply` and the windows read.
// Reading checks only that the file is a JSON object of at most 1 MB with no key given twice
// in one object; the merge and the value checks come after.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "config/ConfigJson.h"
#include "config/GatewayConfig.h"
#include "config/JsonSourceText.h"

namespace kv {

struct ConfigFileRead {
    QJsonObject Json;
    QString Error;  // "<file>: <reason>", a syntax error or a key given twice with its place
    WrittenNumbers Numbers;  // for messages that quote the file's numbers
    bool ok() const { return Error.isEmpty(); }
};

ConfigFileRead ReadConfigFile(const QString& path);

// The JSON object of a file's bytes, or the reason there is none.
ConfigFileRead ParseConfigText(const QByteArray& bytes, const QString& name);

// A configuration file's text: its keys in the documented order (ConfigKeyOrder), "Format"
// first, so that files kept in git change only where the configuration does; keys of no
// known place follow in ascending order.
QByteArray ConfigObjectText(const QJsonObject& file);

// The file's text for a configuration, as `read --json` prints it.
QByteArray ConfigFileText(const GatewayConfig& config, const ConfigFileForm& form = {});

// The same text marked as a backup kept before a write (ConfigBackupKey), with the
// fingerprint of its content (ConfigFingerprintKey).
QByteArray KeptBackupText(const GatewayConfig& config);

// Writes the text whole or not at all; empty on success, else the reason.
QString WriteConfigFile(const QString& path, const GatewayConfig& config);

}  // namespace kv
