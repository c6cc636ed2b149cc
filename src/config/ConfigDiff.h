#pragma once
// Two configurations compared field by field, each as the JSON tree `read --json` prints,
// so every field the JSON holds is compared and named by its key path (FieldChangeTexts:
// "SerialClasses[0].Commands[2].Length: 10 -> 12").

#include <QJsonObject>
#include <QStringList>

#include "config/EepromImage.h"
#include "config/FieldText.h"
#include "config/GatewayConfig.h"

namespace kv {

struct ConfigDifferences {
    QList<FieldChange> Changes;  // Before: A's value, After: B's
    QStringList OnlyInA;         // key paths of fields B does not hold: left out, not changes
    QStringList OnlyInB;
    bool Equal() const { return Changes.isEmpty(); }
};

// Objects are compared key by key; a key one side lacks is left out of the comparison
// and listed. Lists are compared element by element; an element one side lacks is a
// change, shown as "(none)", except in the class lists SerialClasses and TcpClasses,
// where a file may name only the first classes: a class one side lacks is left out.
ConfigDifferences DiffConfigTrees(const QJsonObject& a, const QJsonObject& b);

// What a gateway holding `image` would read, as a tree: the EEPROM blocks decoded onto a
// start configuration. The Ethernet settings are not in the EEPROM and are left out.
QJsonObject BackupConfigTree(const EepromImage& image);

// A configuration file as a tree: its keys as they are (a file may name only some
// fields, as `apply` allows), with what `apply` would fill in: Valid 1 for a command that
// leaves it out and CmdCount from the length of a Commands list. False with the file's
// faults in `errors` (as `apply` reports them) when the file is not one `apply` takes.
bool ConfigFileTree(const QJsonObject& file, QJsonObject& tree, QStringList& errors);

// The configuration bytes two backups hold, address by address: the path "Block 8, address
// 35", the bytes as numbers; shown with ByteValueText ("Block 8, address 35: 0A -> 0C").
QList<FieldChange> DiffBackupBytes(const EepromImage& a, const EepromImage& b);
QString ByteValueText(const QString& path, const QJsonValue& byte);

}  // namespace kv
