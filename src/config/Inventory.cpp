#include "config/Inventory.h"

#include <QHash>

#include "config/CsvTable.h"

namespace kv {
namespace {

struct InventoryColumn {
    const char* Name;
    const char* Group;  // the configuration file's object that holds it
    bool Unique;        // two gateways with one value clash
};

constexpr InventoryColumn ValueColumns[] = {{"NodeId", "DeviceNetParams", true},
                                            {"BaudIndex", "DeviceNetParams", false},
                                            {"Ip", "EthernetParams", true},
                                            {"Mask", "EthernetParams", false},
                                            {"Gateway", "EthernetParams", false}};
const QString PortColumn = QStringLiteral("Port");

QStringList ColumnNames() {
    QStringList names{PortColumn};
    for (const InventoryColumn& column : ValueColumns) names.append(QLatin1String(column.Name));
    return names;
}

// A cell as the configuration file would hold it: a whole number as a number, anything
// else as text, which the file's own checks then judge with the key's name.
QJsonValue CellValue(const QString& cell) {
    bool isNumber = false;
    const int number = cell.toInt(&isNumber);
    return isNumber ? QJsonValue(number) : QJsonValue(cell);
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
    // Refuses `value` of `key` when an earlier row gave it.
    void Check(const InventoryRow& row, const QString& key, const QString& value,
               QStringList& errors) {
        const QString seenKey = key + u'\n' + value;
        if (const auto earlier = seen_.constFind(seenKey); earlier != seen_.constEnd())
            errors.append(QStringLiteral("%1: %2 %3 is also row %4's")
                              .arg(RowName(row), key, value)
                              .arg(*earlier));
        else
            seen_.insert(seenKey, row.Row);
    }

private:
    QHash<QString, int> seen_;
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
        InventoryRow row{csvRow.Number, cells.value(positions[0]), {}};
        if (row.Port.isEmpty()) {
            read.Errors.append(QStringLiteral("row %1: the Port cell is empty").arg(row.Row));
            continue;
        }
        duplicates.Check(row, PortColumn, portKey(row.Port), read.Errors);
        for (size_t c = 0; c < std::size(ValueColumns); ++c) {
            const QString cell = cells.value(positions[c + 1]);
            if (cell.isEmpty()) continue;
            const InventoryColumn& column = ValueColumns[c];
            const QString group = QLatin1String(column.Group);
            QJsonObject values = row.Values.value(group).toObject();
            values.insert(QLatin1String(column.Name), CellValue(cell));
            row.Values.insert(group, values);
            if (column.Unique) duplicates.Check(row, QLatin1String(column.Name), cell, read.Errors);
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

QStringList AddressesSetBy(const QJsonObject& configuration) {
    QStringList keys;
    for (const InventoryColumn& column : ValueColumns) {
        const QString group = QLatin1String(column.Group);
        if (column.Unique &&
            configuration.value(group).toObject().contains(QLatin1String(column.Name)))
            keys.append(group + u'.' + QLatin1String(column.Name));
    }
    return keys;
}

}  // namespace kv
