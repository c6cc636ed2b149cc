#pragma once
// Key paths of a configuration file, as messages name its fields: "SerialClasses[1].Baud".

#include <QJsonValue>
#include <QString>

namespace kv {

// Whether `value` holds the key path "A.B[1].C": each key in its object, each index
// within its list.
bool GivesKeyPath(QJsonValue value, const QString& keyPath);

}  // namespace kv
