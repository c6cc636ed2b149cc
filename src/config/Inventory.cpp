#include "config/Inventory.h"

#include <QHash>
#include <QVariant>
#include <algorithm>

#include "config/CsvTable.h"
#include "config/ParameterChecks.h"

namespace kv {
namespace {

struct InventoryColumn {
    const char* Name;
    const char* Group;  // the configuration file's object that holds it
    bool Unique;        // two gateways with one value clash
    bool Address;       // an IPv4 address, written as the console writes it
};

constexpr InventoryColumn ValueColumns[] = {{"NodeId", "DeviceNetParams", true, false},
                                            {"BaudIndex", "DeviceNetParams", false, false},
                                            {"Ip", "EthernetParams", true, true},
                                            {"Mask", "EthernetParams", false, true},
                                            {"Gateway", "EthernetParams", false, true}};
const QString PortColumn = QStringLiteral("Port");

QStringList ColumnNames() {
    QStringList names{PortColumn};
    for (const InventoryColumn& column : ValueColumns) names.append(QLatin1String(column.Name));
    return names;
}

// A cell as the gateway will get it: a whole number as a number ("05" and "+5" are 5), a
// valid address as the console writes it ("192.168.001.010" is 192.168.1.10), anything
// else as text, which the file's own checks then judge with the key's name.
QJsonValue CellValue(const InventoryColumn& column, const QString& cell) {
    if (column.Address && IsValidIpText(cell)) return CanonicalIpText(cell);
    bool isNumber = false;
    const int number = cell.toInt(&isNumber);
    return isNumber ? QJsonValue(number) : QJsonValue(cell);
}

// The value a gateway gets, as text to compare.
QString ValueText(const InventoryColumn& column, const QJsonValue& value) {
    if (value.isString()) return CellValue(column, value.toString()).toVariant().toString();
    return value.toVariant().toString();
}

void RefuseUnknownColumns(const QStringList& header, QStringList& errors) {
    const QStringList known = ColumnNames();
    for (const QString& name : header)
        if (!known.contains(name, Qt::CaseInsensitive))
            errors.append(QStringLiteral("row 1: there is no column %1; the columns are %2")
                              .arg(name, known.join(QStringLiteral(", "))));
}

QString RowName(const InventoryRow& row) {
    return QStringLiteral("row %1 (Port %2)").arg(row.Row).arg(row.Port);
}

class DuplicateFinder {
public:
    // Refuses `value` of `key` when an earlier row gave it, in any spelling (`written`).
    void Check(const InventoryRow& row, const QString& key, const QString& written,
               const QString& value, QStringList& errors) {
        const QString seenKey = key + u'\n' + value;
        const auto earlier = seen_.constFind(seenKey);
        if (earlier == seen_.constEnd()) {
            seen_.insert(seenKey, {row.Row, written});
            return;
        }
        const QString spelling =
            earlier->second == written ? QString() : QStringLiteral(" (%1)").arg(earlier->second);
        errors.append(QStringLiteral("%1: %2 %3 is also row %4's%5")
                          .arg(RowName(row), key, written)
                          .arg(earlier->first)
                          .arg(spelling));
    }

private:
    QHash<QString, std::pair<int, QString>> seen_;  // row and spelling, by key and value
};

}  // namespace

InventoryRead ReadInventory(const QByteArray& text,
                            const std::function<QString(const QString&)>& portKey) {
    InventoryRead read;
    const CsvTable table = ReadCsvTable(text);
    if (!table.Error.isEmpty()) return {{}, {table.Error}};
    RefuseUnknownColumns(table.Header, read.Errors);
    const std::vector<int> positions =
        ColumnPositions(table.Header, ColumnNames(), {PortColumn}, read.Errors);
    if (!read.ok()) return read;
    if (table.Rows.isEmpty()) read.Errors.append(QStringLiteral("the table names no port"));
    DuplicateFinder duplicates;
    for (const CsvRow& csvRow : table.Rows) {
        const QStringList& cells = csvRow.Fields;
        InventoryRow row{csvRow.Number, cells.value(positions[0]), {}, {}};
        if (row.Port.isEmpty()) {
            read.Errors.append(QStringLiteral("row %1: the Port cell is empty").arg(row.Row));
            continue;
        }
        row.PortKey = portKey(row.Port);
        duplicates.Check(row, PortColumn, row.Port, row.PortKey, read.Errors);
        for (size_t c = 0; c < std::size(ValueColumns); ++c) {
            const QString cell = cells.value(positions[c + 1]);
            if (cell.isEmpty()) continue;
            const InventoryColumn& column = ValueColumns[c];
            const QString group = QLatin1String(column.Group);
            QJsonObject values = row.Values.value(group).toObject();
            const QJsonValue value = CellValue(column, cell);
            values.insert(QLatin1String(column.Name), value);
            row.Values.insert(group, values);
            if (column.Unique)
                duplicates.Check(row, QLatin1String(column.Name), cell, ValueText(column, value),
                                 read.Errors);
        }
        read.Rows.append(row);
    }
    return read;
}

QJsonObject WithInventoryRow(QJsonObject configuration, const InventoryRow& row) {
    for (auto group = row.Values.begin(); group != row.Values.end(); ++group) {
        QJsonObject merged = configuration.value(group.key()).toObject();
        const QJsonObject given = group.value().toObject();
        for (auto value = given.begin(); value != given.end(); ++value)
            merged.insert(value.key(), value.value());
        configuration.insert(group.key(), merged);
    }
    return configuration;
}

QList<SharedAddress> SharedAddresses(const QJsonObject& configuration,
                                     const QList<InventoryRow>& rows) {
    QList<SharedAddress> shared;
    for (const InventoryColumn& column : ValueColumns) {
        const QString group = QLatin1String(column.Group);
        const QString name = QLatin1String(column.Name);
        const QJsonValue given = configuration.value(group).toObject().value(name);
        if (!column.Unique || given.isUndefined()) continue;
        const QString value = ValueText(column, given);
        const auto getsIt = [&](const InventoryRow& row) {
            const QJsonValue own = row.Values.value(group).toObject().value(name);
            return own.isUndefined() || ValueText(column, own) == value;
        };
        const int gateways = int(std::count_if(rows.cbegin(), rows.cend(), getsIt));
        if (gateways > 1) shared.append({group + u'.' + name, name, gateways});
    }
    return shared;
}

}  // namespace kv
