#include "config/OrderedJsonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace kv {
namespace {

// A number, text, true, false or null as QJsonDocument writes it.
QByteArray ScalarText(const QJsonValue& value) {
    const QByteArray listed = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return listed.mid(1, listed.size() - 2);
}

QStringList OrderedKeys(const QJsonObject& object, const QStringList& order) {
    QStringList keys;
    for (const QString& key : order)
        if (object.contains(key)) keys.append(key);
    for (const QString& key : object.keys())  // ascending
        if (!order.contains(key)) keys.append(key);
    return keys;
}

void Write(const QJsonValue& value, const QString& holderKey, const KeyOrder& order, int depth,
           QByteArray& text);

QByteArray Indent(int depth) { return QByteArray(4 * depth, ' '); }

void WriteObject(const QJsonObject& object, const QString& holderKey, const KeyOrder& order,
                 int depth, QByteArray& text) {
    if (object.isEmpty()) {
        text += "{}";
        return;
    }
    text += "{\n";
    const QStringList keys = OrderedKeys(object, order(holderKey));
    for (qsizetype i = 0; i < keys.size(); ++i) {
        text += Indent(depth + 1) + ScalarText(keys[i]) + ": ";
        Write(object.value(keys[i]), keys[i], order, depth + 1, text);
        text += i + 1 < keys.size() ? ",\n" : "\n";
    }
    text += Indent(depth) + '}';
}

void WriteList(const QJsonArray& list, const QString& holderKey, const KeyOrder& order, int depth,
               QByteArray& text) {
    const bool flat = std::ranges::none_of(
        list, [](const QJsonValue& item) { return item.isObject() || item.isArray(); });
    if (flat) {
        QByteArrayList items;
        for (const QJsonValue& item : list) items.append(ScalarText(item));
        text += '[' + items.join(", ") + ']';
        return;
    }
    text += "[\n";
    for (qsizetype i = 0; i < list.size(); ++i) {
        text += Indent(depth + 1);
        Write(list.at(i), holderKey, order, depth + 1, text);
        text += i + 1 < list.size() ? ",\n" : "\n";
    }
    text += Indent(depth) + ']';
}

void Write(const QJsonValue& value, const QString& holderKey, const KeyOrder& order, int depth,
           QByteArray& text) {
    if (value.isObject())
        WriteObject(value.toObject(), holderKey, order, depth, text);
    else if (value.isArray())
        WriteList(value.toArray(), holderKey, order, depth, text);
    else
        text += ScalarText(value);
}

}  // namespace

QByteArray OrderedJsonText(const QJsonObject& object, const KeyOrder& order) {
    QByteArray text;
    WriteObject(object, {}, order, 0, text);
    return text + '\n';
}

}  // namespace kv
