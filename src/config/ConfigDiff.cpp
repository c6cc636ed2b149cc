#include "config/ConfigDiff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <algorithm>

#include "config/ConfigJson.h"
#include "config/EepromCodec.h"
#include "config/EnumeratedNames.h"
#include "config/FieldText.h"
#include "config/NumberText.h"

namespace kv {
namespace {

QString KeyPath(const QString& path, const QString& key) {
    return path.isEmpty() ? key : path + u'.' + key;
}

void DiffValues(const QJsonValue& a, const QJsonValue& b, const QString& path,
                ConfigDifferences& result);

void DiffObjects(const QJsonObject& a, const QJsonObject& b, const QString& path,
                 ConfigDifferences& result) {
    for (auto it = a.begin(); it != a.end(); ++it) {
        if (b.contains(it.key()))
            DiffValues(it.value(), b.value(it.key()), KeyPath(path, it.key()), result);
        else
            result.OnlyInA << KeyPath(path, it.key());
    }
    for (auto it = b.begin(); it != b.end(); ++it)
        if (!a.contains(it.key())) result.OnlyInB << KeyPath(path, it.key());
}

// A file may list fewer classes than there are (`apply` matches them by position and
// keeps the rest); a class only one side lists is left out, not a change. Any other list
// is whole on both sides, so an element only one side holds is a change.
bool IsClassList(const QString& path) { return path == u"SerialClasses" || path == u"TcpClasses"; }

void DiffLists(const QJsonArray& a, const QJsonArray& b, const QString& path,
               ConfigDifferences& result) {
    const qsizetype count = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QString elementPath = path + u'[' + QString::number(i) + u']';
        if (IsClassList(path) && i >= a.size())
            result.OnlyInB << elementPath;
        else if (IsClassList(path) && i >= b.size())
            result.OnlyInA << elementPath;
        else
            DiffValues(a.at(i), b.at(i), elementPath, result);
    }
}

void DiffValues(const QJsonValue& a, const QJsonValue& b, const QString& path,
                ConfigDifferences& result) {
    if (a.isObject() && b.isObject())
        DiffObjects(a.toObject(), b.toObject(), path, result);
    else if (a.isArray() && b.isArray() && !IsOneField(a) && !IsOneField(b))
        DiffLists(a.toArray(), b.toArray(), path, result);
    else if (a != b)
        result.Changes.append({path, a, b});
}

// Valid 1 for each listed command without it, and CmdCount from the list's length.
QJsonValue WithApplyDefaults(const QJsonValue& classes) {
    const QLatin1String commandsKey("Commands");
    QJsonArray filled;
    for (const QJsonValue& entry : classes.toArray()) {
        QJsonObject record = entry.toObject();
        if (record.contains(commandsKey)) {
            QJsonArray commands;
            for (const QJsonValue& command : record.value(commandsKey).toArray()) {
                QJsonObject fields = command.toObject();
                if (!fields.contains(QLatin1String("Valid"))) fields[QLatin1String("Valid")] = 1;
                commands.append(fields);
            }
            record[QLatin1String("CmdCount")] = commands.size();
            record[commandsKey] = commands;
        }
        filled.append(record);
    }
    return filled;
}

// A list field given by its list text ("EVEN") as the number a read-out holds, so that a
// file and a gateway that agree compare equal.
QJsonValue WithListNumbers(const QJsonValue& value) {
    if (value.isArray()) {
        QJsonArray list;
        for (const QJsonValue& element : value.toArray()) list.append(WithListNumbers(element));
        return list;
    }
    if (!value.isObject()) return value;
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto number =
            it.value().isString() ? ListValueOfText(it.key(), it.value().toString()) : std::nullopt;
        it.value() = number ? QJsonValue(*number) : WithListNumbers(it.value());
    }
    return object;
}

// A server address given as a text ("192.168.0.10") as the numbers a read-out holds, taken
// from `merged`, the configuration the file was merged into.
QJsonValue WithServerIpNumbers(const QJsonValue& classes, const GatewayConfig& merged) {
    const QLatin1String key("ServerIp");
    QJsonArray servers = classes.toArray();
    for (qsizetype i = 0; i < servers.size() && size_t(i) < merged.TcpClasses.size(); ++i) {
        QJsonObject server = servers[i].toObject();
        if (!server.value(key).isString()) continue;
        QJsonArray octets;
        for (const uint8_t octet : merged.TcpClasses[size_t(i)].ServerIp) octets.append(octet);
        server[key] = octets;
        servers[i] = server;
    }
    return servers;
}

}  // namespace

ConfigDifferences DiffConfigTrees(const QJsonObject& a, const QJsonObject& b) {
    ConfigDifferences result;
    DiffObjects(a, b, QString(), result);
    return result;
}

QJsonObject BackupConfigTree(const EepromImage& image) {
    GatewayConfig config;
    eeprom::DecodeImage(image, config);
    QJsonObject tree = ConfigToJson(config);
    tree.remove(QLatin1String("EthernetParams"));
    return tree;
}

bool ConfigFileTree(const QJsonObject& file, QJsonObject& tree, QStringList& errors) {
    GatewayConfig scratch;
    if (!MergeConfigJson(file, scratch, errors)) return false;
    tree = WithListNumbers(file).toObject();
    // The backup mark says where the file came from and the comment what people note of it,
    // not what the gateway holds.
    for (const char* key : {ConfigBackupKey, ConfigFingerprintKey, ConfigCommentKey, "$schema"})
        tree.remove(QLatin1String(key));
    // A file written before the format was named is the same format.
    if (!tree.contains(QLatin1String("Format"))) tree[QLatin1String("Format")] = ConfigFormatName;
    for (const QLatin1String key : {QLatin1String("SerialClasses"), QLatin1String("TcpClasses")})
        if (tree.contains(key)) tree[key] = WithApplyDefaults(tree.value(key));
    if (tree.contains(QLatin1String("TcpClasses")))
        tree[QLatin1String("TcpClasses")] =
            WithServerIpNumbers(tree.value(QLatin1String("TcpClasses")), scratch);
    return true;
}

QList<FieldChange> DiffBackupBytes(const EepromImage& a, const EepromImage& b) {
    QList<FieldChange> changes;
    for (const int block : ConfigBlocks)
        for (int address = 0; address < EepromBlockSize; ++address) {
            const uint8_t before = a.Blocks[block][address];
            const uint8_t after = b.Blocks[block][address];
            if (before != after)
                changes.append({QStringLiteral("Block %1, address %2").arg(block).arg(address),
                                before, after});
        }
    return changes;
}

QString ByteValueText(const QString&, const QJsonValue& byte) {
    return HexByteText(static_cast<uint8_t>(byte.toInt()));
}

}  // namespace kv
