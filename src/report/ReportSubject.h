#pragma once
// What a commissioning report is made of: the configuration, where it came from and the
// text a printed page is matched to a file by.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

struct ReportSubject {
    GatewayConfig Config;  // the stored classes are reported, not an editor's working copy
    QString Source;        // "plant-a.json", "COM 3"
    // The configuration file's text, whose SHA-256 is the report's fingerprint: the file
    // itself, or for a gateway the text `read --json` prints for it.
    QByteArray FileText;
    QString FileTextName;  // what FileText is, for the reader: "plant-a.json"
    QDateTime Made = QDateTime::currentDateTime();
};

}  // namespace kv
