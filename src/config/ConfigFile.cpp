#include "config/ConfigFile.h"

#include <QJsonDocument>

#include "config/ConfigJson.h"
#include "platform/LimitedFile.h"
#include "platform/WholeFile.h"

namespace kv {

ConfigFileRead ReadConfigFile(const QString& path) {
    QByteArray bytes;
    const QString failure = ReadLimitedFile(path, bytes);
    if (!failure.isEmpty()) return {{}, path + QStringLiteral(": ") + failure};
    return ParseConfigText(bytes, path);
}

ConfigFileRead ParseConfigText(const QByteArray& bytes, const QString& name) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(parseError.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = before.size() - (before.lastIndexOf('\n') + 1) + 1;
        return {{},
                QStringLiteral("%1: line %2, column %3: %4")
                    .arg(name)
                    .arg(line)
                    .arg(column)
                    .arg(parseError.errorString())};
    }
    if (!document.isObject()) return {{}, name + QStringLiteral(": holds no JSON object")};
    return {document.object(), {}};
}

QByteArray ConfigFileText(const GatewayConfig& config) {
    return QJsonDocument(ConfigToJson(config)).toJson(QJsonDocument::Indented);
}

QByteArray KeptBackupText(const GatewayConfig& config) {
    QJsonObject json = ConfigToJson(config);
    json[QLatin1String(ConfigBackupKey)] = true;
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

QString WriteConfigFile(const QString& path, const GatewayConfig& config) {
    return WriteWholeFile(path, ConfigFileText(config));
}

}  // namespace kv
