#include "config/ViewRows.h"

#include <utility>

#include "config/NumberText.h"

namespace kv {
namespace {

// The grids start with these row counts; filling replaces them (the object view keeps
// its count when no class is listed).
constexpr int SerialGridStartRows = 25;
constexpr int TcpGridStartRows = 15;
constexpr int AppObjectGridStartRows = 20;

constexpr int SerialCommandColumn = 3;
constexpr int TcpCommandColumn = 5;

// Rows of text cells that grow and shrink like the grid control they stand for.
class GridBuilder {
public:
    GridBuilder(QList<double> widthFactors, int headingRows, int startRows) {
        grid_.WidthFactors = std::move(widthFactors);
        grid_.HeadingRows = headingRows;
        SetRowCount(startRows);
    }

    void SetRowCount(int count) { grid_.Rows.resize(count, QStringList(grid_.ColumnCount())); }
    void Set(int row, int column, const QString& text) { grid_.Rows[row][column] = text; }
    void SetRow(int row, int firstColumn, const QStringList& texts) {
        for (int i = 0; i < texts.size(); ++i) Set(row, firstColumn + i, texts[i]);
    }
    ViewGrid Take() { return std::move(grid_); }

private:
    ViewGrid grid_;
};

// Writes a class's commands below its own row; returns the row after the last command.
template <typename Record>
int WriteCommandRows(GridBuilder& grid, const Record& record, int row, int firstColumn) {
    for (int k = 1; k <= CommandCount(record); ++k) {
        ++row;
        grid.SetRowCount(row + 1);
        grid.SetRow(row, firstColumn, CommandCells(record.Commands[k - 1], k));
    }
    return row;
}

}  // namespace

QStringList CommandCells(const ModbusCommand& command, int number) {
    const int64_t firstMemory = RoundHalfEven(command.MemAddress);
    return {QStringLiteral("(%1)").arg(number),
            QString::number(command.NetId),
            IoTypeText(command.FunctionCode),
            WholeNumberText(command.StartAddress),
            QString::number(command.Length),
            QString::number(firstMemory),
            QString::number(firstMemory + command.Length - 1)};
}

QString IoTypeText(uint8_t functionCode) {
    switch (functionCode) {
        case 1:
            return QStringLiteral("DO (R)");
        case 2:
            return QStringLiteral("DI");
        case 3:
            return QStringLiteral("AO (R)");
        case 4:
            return QStringLiteral("AI");
        case 5:
        case 15:
            return QStringLiteral("DO (W)");
        case 6:
        case 16:
            return QStringLiteral("AO (W)");
        default:
            return {};
    }
}

QString ModbusModeText(uint8_t connMode) {
    switch (connMode) {
        case 0:
            return QStringLiteral("NONE");
        case 1:
            return QStringLiteral("RTU");
        case 2:
            return QStringLiteral("ASCII");
        default:
            return {};
    }
}

QString ServerIpText(const std::array<uint8_t, 4>& octets) {
    QStringList parts;
    for (const uint8_t octet : octets) parts << QString::number(octet);
    return parts.join(u'.');
}

QString ClassIdText(int classIndex) {
    return QStringLiteral("0x6") + QString::number(5 + classIndex, 16).toUpper();
}

QString InstanceIdText(int commandNumber) {
    return QStringLiteral("0x0") + QString::number(commandNumber, 16).toUpper();
}

ViewGrid SerialCommandGrid(const std::array<SerialClassRecord, SerialClassCount>& classes) {
    GridBuilder grid({1.0, 1.2, 1.3, 0.5, 0.6, 0.8, 1.0, 1.0, 1.1, 1.0}, 1, SerialGridStartRows);
    grid.SetRow(0, 0,
                {"COM Port", "Modbus Mode", "Comm. Timeout", "NO.", "Net ID", "IO_Type",
                 "Start_Addr", "Comm_Len", "I_Mem (From)", "I_Mem (To)"});
    const QStringList portNames = {"RS-232", "RS-485"};
    int row = 1;
    // Both ports are listed whatever their mode, each followed by one empty row.
    for (int port = 0; port < SerialClassCount; ++port) {
        const SerialClassRecord& record = classes[port];
        grid.SetRowCount(row + 1);
        grid.SetRow(
            row, 0,
            {portNames[port], ModbusModeText(record.ConnMode), WholeNumberText(record.CmdTimeout)});
        row = WriteCommandRows(grid, record, row, SerialCommandColumn) + 2;
        grid.SetRowCount(row);
    }
    return grid.Take();
}

ViewGrid TcpCommandGrid(const std::array<TcpClassRecord, TcpClassCount>& classes) {
    GridBuilder grid({1.0, 1.2, 1.2, 1.2, 1.2, 0.5, 0.6, 0.8, 1.0, 1.0, 1.1, 1.0}, 1,
                     TcpGridStartRows);
    grid.SetRow(
        0, 0,
        {"TCP Server", "Server IP", "Conn. Timeout", "Retry Timeout", "Comm. Timeout", "NO.",
         "Net ID", "IO_Type", "Start_Addr", "Comm_Len", "I_Mem (From)", "I_Mem (To)"});
    int row = 1;
    // Connections not in use get no rows at all.
    for (int connection = 0; connection < TcpClassCount; ++connection) {
        const TcpClassRecord& record = classes[connection];
        if (record.ConnValid != 0) {
            grid.SetRowCount(row + 1);
            grid.SetRow(
                row, 0,
                {QStringLiteral("Server %1").arg(connection + 1), ServerIpText(record.ServerIp),
                 WholeNumberText(record.ConnTimeout), WholeNumberText(record.RetryConnTimeout),
                 WholeNumberText(record.CmdTimeout)});
            row = WriteCommandRows(grid, record, row, TcpCommandColumn) + 2;
        }
        grid.SetRowCount(row);
    }
    return grid.Take();
}

namespace {

// Writes one listed class: its ID beside its first instance, one row per command and an
// empty row after it. Returns the grid's current row afterwards.
template <typename Record>
int WriteAppObjectClass(GridBuilder& grid, const Record& record, int classIndex, int row) {
    ++row;
    grid.SetRowCount(row + 1);
    grid.Set(row, 0, ClassIdText(classIndex));
    for (int k = 1; k <= CommandCount(record); ++k) {
        const ModbusCommand& command = record.Commands[k - 1];
        grid.SetRow(
            row, 1,
            {InstanceIdText(k), QString::number(command.Valid), QString::number(command.NetId),
             QString::number(command.FunctionCode), WholeNumberText(command.MemAddress),
             WholeNumberText(command.StartAddress), QString::number(command.Length)});
        ++row;
        grid.SetRowCount(row + 1);
    }
    return row;
}

}  // namespace

ViewGrid AppObjectGrid(const std::array<SerialClassRecord, SerialClassCount>& serialClasses,
                       const std::array<TcpClassRecord, TcpClassCount>& tcpClasses) {
    GridBuilder grid({1.0, 1.0, 1.1, 1.1, 1.1, 1.1, 1.1, 1.1}, 2, AppObjectGridStartRows);
    grid.SetRow(0, 0, {"Class ID", "Instance ID"});
    for (int attribute = 1; attribute <= 6; ++attribute)
        grid.Set(0, 1 + attribute, QStringLiteral("Attr ID 0x0%1").arg(attribute, 0, 16));
    grid.SetRow(1, 2, {"Cmd Valid", "Net ID", "FunCode", "MemIndex", "Device Addr.", "IO Num"});

    // A class is listed when it has commands and a connection mode or connection in use.
    int row = 1;
    for (int i = 0; i < SerialClassCount; ++i) {
        const SerialClassRecord& record = serialClasses[i];
        if (record.CmdCount > 0 && record.ConnMode > 0)
            row = WriteAppObjectClass(grid, record, i, row);
    }
    for (int i = 0; i < TcpClassCount; ++i) {
        const TcpClassRecord& record = tcpClasses[i];
        if (record.CmdCount > 0 && record.ConnValid > 0)
            row = WriteAppObjectClass(grid, record, SerialClassCount + i, row);
    }
    return grid.Take();
}

}  // namespace kv
