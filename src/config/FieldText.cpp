#include "config/FieldText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <optional>

#include "config/EnumeratedNames.h"

namespace kv {
namespace {

// The last key of a path: "Parity" of "SerialClasses[0].Parity".
QString LastKey(const QString& keyPath) {
    QString key = keyPath.mid(keyPath.lastIndexOf(u'.') + 1);
    return key.left(key.indexOf(u'['));
}

QString CompactJson(const QJsonValue& value) {
    const QByteArray listed = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(listed.mid(1, listed.size() - 2));
}

std::optional<QString> PathText(const QString& key, const QJsonValue& value) {
    if (key != u"PollProduce" && key != u"PollConsume") return std::nullopt;
    const QJsonArray parts = value.toArray();
    if (parts.size() != 3) return std::nullopt;
    PollPath path;
    for (int i = 0; i < 3; ++i) {
        const double part = parts[i].toDouble(-1);
        if (part < 0 || part > 255) return std::nullopt;
        path[size_t(i)] = static_cast<uint8_t>(part);
    }
    return PollPathText(path);
}

}  // namespace

QString PollPathText(const PollPath& path) {
    const QString classId = QString::number(path[0], 16).toUpper().rightJustified(2, u'0');
    return QStringLiteral("0x%1/%2/%3").arg(classId).arg(path[1]).arg(path[2]);
}

QString FieldValueText(const QString& keyPath, const QJsonValue& value) {
    if (value.isUndefined()) return QStringLiteral("(none)");
    const QString key = LastKey(keyPath);
    if (const auto text = value.isDouble() ? EntryTextOf(key, value.toDouble()) : std::nullopt)
        return *text;
    if (const auto text = PathText(key, value)) return *text;
    return CompactJson(value);
}

QString FieldChangeText(const QString& keyPath, const QJsonValue& before, const QJsonValue& after) {
    return QStringLiteral("%1: %2 -> %3")
        .arg(keyPath, FieldValueText(keyPath, before), FieldValueText(keyPath, after));
}

}  // namespace kv
