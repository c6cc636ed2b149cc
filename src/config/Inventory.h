#pragma once
// One template, many gateways: a table (CSV) with the column Port and any of NodeId,
// BaudIndex, Ip, Mask and Gateway, named and written as in a configuration file (list texts
// such as "500K" included). Each row's values take the place of the template's for the
// gateway on that port; an empty cell keeps the template's value. Values are compared, and
// given to the gateway, as the gateway will hold them: node "05" is node 5.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <functional>

namespace kv {

struct InventoryRow {
    int Row = 0;  // in the file, the header being row 1
    QString Port;
    QString PortKey;     // the port as the reader's `portKey` names it
    QJsonObject Values;  // {"DeviceNetParams": {...}, "EthernetParams": {...}}, given cells only
};

struct InventoryRead {
    QList<InventoryRow> Rows;
    // "row 3 (Port COM4): NodeId 5 is also row 2's", with row 2's spelling when it differs:
    // "row 3 (Port COM4): NodeId 05 is also row 2's (5)"
    QStringList Errors;
    bool ok() const { return Errors.isEmpty(); }
};

// `portKey` names a port the one way, so that "COM3", "com 3" and "3" are one port.
InventoryRead ReadInventory(const QByteArray& text,
                            const std::function<QString(const QString&)>& portKey);

// The template with the row's values in place of its own.
QJsonObject WithInventoryRow(QJsonObject configuration, const InventoryRow& row);

// A key that a configuration file gives one gateway alone, which more than one would get
// as the file gives it (one MAC ID or one IP address for many devices).
struct SharedAddress {
    QString Key;     // "DeviceNetParams.NodeId"
    QString Column;  // its column in the table: "NodeId"
    int Gateways = 0;
};
// The gateways being `rows` (a row without the value leaves it to the file; without a table
// each gateway is an empty row).
QList<SharedAddress> SharedAddresses(const QJsonObject& configuration,
                                     const QList<InventoryRow>& rows);

}  // namespace kv
