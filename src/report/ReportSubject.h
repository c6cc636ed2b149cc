#pragma once
// What a commissioning report is made of: the configuration, where it came from, the text a
// printed page is matched to a file by, what `check` says of it and who it is for.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <optional>

#include "config/ConfigFile.h"
#include "config/GatewayConfig.h"
#include "modbus/ProbeRecord.h"
#include "save/CheckFindings.h"

namespace kv {

// What the engineer writes on the report for the plant's customer; each may be empty.
struct ReportParties {
    QString Site;
    QString Customer;
    QString Tag;  // the device tag of the gateway in the plant
    QString Engineer;
};

struct ReportSubject {
    GatewayConfig Config;  // the stored classes are reported, not an editor's working copy
    QString Source;        // "plant-a.json", "COM 3"
    // The configuration file's text, whose SHA-256 is the report's fingerprint: the file
    // itself, or for a gateway the text `read --json` prints for it.
    QByteArray FileText;
    QString FileTextName;  // what FileText is, for the reader: "plant-a.json"
    CheckFindings Findings = {};
    // A file may leave fields out, which the report shows as not in the file; none for a
    // whole configuration (a gateway's, the windows').
    std::optional<QJsonObject> File = {};
    ReportParties Parties = {};
    QDateTime Made = QDateTime::currentDateTime();
    // The probes of the Modbus devices the windows made, if any.
    QList<ProbeRecord> Probes = {};
};

// A gateway's configuration, or what the windows hold; `fileTextName` says what the text
// is that the fingerprint is of.
ReportSubject WholeConfigSubject(const GatewayConfig& config, const QString& source,
                                 const QString& fileTextName);
// A configuration file of these bytes and their JSON object, checked as `check` checks it.
ReportSubject FileSubject(const ConfigFileRead& file, const QByteArray& bytes, const QString& name);

}  // namespace kv
