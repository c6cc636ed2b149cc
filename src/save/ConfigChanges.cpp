#include "save/ConfigChanges.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "config/ConfigJson.h"
#include "config/FieldText.h"
#include "save/CopyMBDataToEEPData.h"

namespace kv {
namespace {

bool IsDerived(const QString& key) {
    return key == u"Format" || key == u"FirmwareInfo" || key == u"ConfigMarker" ||
           key == u"ComBaudIndex" || key == u"PortChecksum";
}

void Compare(const QJsonValue& held, const QJsonValue& written, const QString& path,
             QList<FieldChange>& changes) {
    if (held.isObject() && written.isObject()) {
        const QJsonObject a = held.toObject();
        const QJsonObject b = written.toObject();
        for (const QString& key : b.keys())
            if (!IsDerived(key))
                Compare(a.value(key), b.value(key), path.isEmpty() ? key : path + u'.' + key,
                        changes);
        return;
    }
    if (held.isArray() && written.isArray() && !IsOneField(held) && !IsOneField(written)) {
        const QJsonArray a = held.toArray();
        const QJsonArray b = written.toArray();
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
            Compare(i < a.size() ? a[i] : QJsonValue(QJsonValue::Undefined),
                    i < b.size() ? b[i] : QJsonValue(QJsonValue::Undefined),
                    QStringLiteral("%1[%2]").arg(path).arg(i), changes);
        return;
    }
    if (held != written) changes.append({path, held, written});
}

}  // namespace

QList<FieldChange> ConfigChanges(const GatewayConfig& held, const GatewayConfig& written) {
    QList<FieldChange> changes;
    Compare(ConfigToJson(held), ConfigToJson(written), {}, changes);
    return changes;
}

GatewayConfig AsWritten(const GatewayConfig& config, const ConnectionPaths& pollPaths) {
    GatewayConfig written = config;
    CopyMBDataToEEPData(written);
    written.ConnectionPaths = pollPaths;
    return written;
}

}  // namespace kv
