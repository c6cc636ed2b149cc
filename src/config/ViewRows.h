#pragma once
// What the device view and the application object view show: the cell texts of their
// grids, row by row, worked out from the editor's copy of the class records. The windows
// only copy these rows into their tables.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "config/GatewayConfig.h"

namespace kv {

struct ViewGrid {
    // Each column's width as a multiple of column 0's width.
    QList<double> WidthFactors;
    // The heading rows come first; every row has one text per column.
    int HeadingRows = 1;
    QList<QStringList> Rows;

    int ColumnCount() const { return int(WidthFactors.size()); }
};

// "DO (R)", "DI", "AO (R)", "AI", "DO (W)", "AO (W)"; empty for an unknown code.
QString IoTypeText(uint8_t functionCode);
// "NONE", "RTU", "ASCII"; empty for any other mode.
QString ModbusModeText(uint8_t connMode);
// "192.168.0.10": a TCP class's server address.
QString ServerIpText(const std::array<uint8_t, 4>& octets);
// "0x65" .. "0x6A" for class index 0..5.
QString ClassIdText(int classIndex);
// "0x01" .. "0x0A" for command number 1..10.
QString InstanceIdText(int commandNumber);

// One command's cells in the device view: "NO." ("(2)" for `number` 2), "Net ID",
// "IO_Type", "Start_Addr", "Comm_Len", "I_Mem (From)", "I_Mem (To)".
enum CommandCell {
    NumberCell,
    NetIdCell,
    IoTypeCell,
    StartCell,
    LengthCell,
    MemFromCell,
    MemToCell
};
QStringList CommandCells(const ModbusCommand& command, int number);

// The device view: the serial ports with their commands (classes 0x65, 0x66).
ViewGrid SerialCommandGrid(const std::array<SerialClassRecord, SerialClassCount>& classes);
// The device view: the TCP server connections in use with their commands (0x67..0x6A).
ViewGrid TcpCommandGrid(const std::array<TcpClassRecord, TcpClassCount>& classes);
// The application object view: every listed class with its instances and attributes.
ViewGrid AppObjectGrid(const std::array<SerialClassRecord, SerialClassCount>& serialClasses,
                       const std::array<TcpClassRecord, TcpClassCount>& tcpClasses);

}  // namespace kv
