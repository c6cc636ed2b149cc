#pragma once
// How change lists, read-back differences and `diff` show the value of a configuration
// field: as the windows show it. A field the windows offer as a list shows its list text
// ("Parity: NONE -> EVEN"), a poll path shows as "0x65/1/13", a server address as
// "192.168.0.10", an absent value as "(none)".

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace kv {

using PollPath = std::array<uint8_t, 3>;  // class, instance, attribute

// "0x65/1/13": class in hexadecimal, instance and attribute in decimal.
QString PollPathText(const PollPath& path);

// Whether a value is one field although JSON holds it as a list: a list of numbers (an
// address, a poll path). Lists of classes and commands are compared item by item.
bool IsOneField(const QJsonValue& value);

// The value of the field at `keyPath` ("SerialClasses[0].Parity"): its list text when
// the field is a list and the value one of its entries, else compact JSON.
QString FieldValueText(const QString& keyPath, const QJsonValue& value);

// "<key path>: <old> -> <new>", both values as FieldValueText shows them.
QString FieldChangeText(const QString& keyPath, const QJsonValue& before, const QJsonValue& after);

// One field that differs between two configurations; an absent value is Undefined.
struct FieldChange {
    QString Path;  // "SerialClasses[0].Parity"
    QJsonValue Before;
    QJsonValue After;
    bool operator==(const FieldChange&) const = default;
};

// How a value of a change is shown.
using ValueTextFn = QString (*)(const QString& keyPath, const QJsonValue& value);

// "<key path>: <old> -> <new>" for each change, the values as `valueText` shows them.
QStringList FieldChangeTexts(const QList<FieldChange>& changes,
                             ValueTextFn valueText = FieldValueText);

}  // namespace kv
