#include "config/FieldText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <optional>

#include "config/EnumeratedNames.h"
#include "config/ViewRows.h"

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

// The bytes of a list of N numbers 0..255.
template <std::size_t N>
std::optional<std::array<uint8_t, N>> BytesOf(const QJsonValue& value) {
    const QJsonArray parts = value.toArray();
    if (parts.size() != qsizetype(N)) return std::nullopt;
    std::array<uint8_t, N> bytes{};
    for (size_t i = 0; i < N; ++i) {
        const double part = parts[qsizetype(i)].toDouble(-1);
        if (part < 0 || part > 255) return std::nullopt;
        bytes[i] = static_cast<uint8_t>(part);
    }
    return bytes;
}

std::optional<QString> AddressText(const QString& key, const QJsonValue& value) {
    if (key == u"PollProduce" || key == u"PollConsume")
        if (const auto path = BytesOf<3>(value)) return PollPathText(*path);
    if (key == u"ServerIp")
        if (const auto ip = BytesOf<4>(value)) return ServerIpText(*ip);
    return std::nullopt;
}

}  // namespace

bool IsOneField(const QJsonValue& value) {
    const QJsonArray list = value.toArray();
    return value.isArray() && !list.isEmpty() &&
           std::ranges::all_of(list, [](const QJsonValue& item) { return item.isDouble(); });
}

QString PollPathText(const PollPath& path) {
    const QString classId = QString::number(path[0], 16).toUpper().rightJustified(2, u'0');
    return QStringLiteral("0x%1/%2/%3").arg(classId).arg(path[1]).arg(path[2]);
}

QString FieldValueText(const QString& keyPath, const QJsonValue& value) {
    if (value.isUndefined()) return QStringLiteral("(none)");
    const QString key = LastKey(keyPath);
    if (const auto text = value.isDouble() ? EntryTextOf(key, value.toDouble()) : std::nullopt)
        return *text;
    if (const auto text = AddressText(key, value)) return *text;
    return CompactJson(value);
}

QString FieldChangeText(const QString& keyPath, const QJsonValue& before, const QJsonValue& after) {
    return FieldChangeTexts({{keyPath, before, after}}).first();
}

QStringList FieldChangeTexts(const QList<FieldChange>& changes, ValueTextFn valueText) {
    QStringList texts;
    for (const FieldChange& change : changes)
        texts.append(QStringLiteral("%1: %2 -> %3")
                         .arg(change.Path, valueText(change.Path, change.Before),
                              valueText(change.Path, change.After)));
    return texts;
}

}  // namespace kv
