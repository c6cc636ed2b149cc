#include "config/JsonKeyPath.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kv {

bool GivesKeyPath(QJsonValue value, const QString& keyPath) {
    for (const QString& step : keyPath.split(u'.')) {
        const qsizetype bracket = step.indexOf(u'[');
        const QString key = step.left(bracket);
        if (!value.toObject().contains(key)) return false;
        value = value.toObject().value(key);
        if (bracket < 0) continue;
        const qsizetype index = step.mid(bracket + 1).chopped(1).toLongLong();
        if (index >= value.toArray().size()) return false;
        value = value.toArray().at(index);
    }
    return true;
}

}  // namespace kv
