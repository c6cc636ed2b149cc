#pragma once
// One template, many gateways: a table (CSV) with the column Port and any of NodeId,
// BaudIndex, Ip, Mask and Gateway, named and written as in a configuration file (list texts
// such as "500K" included). Each row's values take the place of the template's for the
// gateway on that port; an empty cell keeps the template's value.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <functional>

namespace kv {

struct InventoryRow {
    int Row = 0;  // in the file, the header being row 1
    QString Port;
    QJsonObject Values;  // {"DeviceNetParams": {...}, "EthernetParams": {...}}, given cells only
};

struct InventoryRead {
    QList<InventoryRow> Rows;
    QStringList Errors;  // "row 3 (Port COM4): NodeId 5 is also row 2's"
    bool ok() const { return Errors.isEmpty(); }
};

// `portKey` names a port the one way, so that "COM3", "com 3" and "3" are one port.
InventoryRead ReadInventory(const QByteArray& text,
                            const std::function<QString(const QString&)>& portKey);

// The template with the row's values in place of its own.
QJsonObject WithInventoryRow(QJsonObject configuration, const InventoryRow& row);

// The keys that a configuration file gives one gateway alone; written as they are to more
// than one gateway they clash (one MAC ID or one IP address for many devices).
QStringList AddressesSetBy(const QJsonObject& configuration);

}  // namespace kv
