#include "config/CommandTableCsv.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

#include "config/CommandChecks.h"
#include "config/CsvTable.h"
#include "config/EnumeratedNames.h"
#include "config/ModbusReference.h"
#include "config/NumberText.h"
#include "config/WorkingCopy.h"

namespace kv {
namespace {

enum Column { Instance, NetId, FunctionCode, MemAddress, StartAddress, Length, ColumnCount };

constexpr std::array<const char*, ColumnCount> ColumnNames = {
    "Instance", "NetId", "FunctionCode", "MemAddress", "StartAddress", "Length"};
constexpr std::array<double, ColumnCount> ColumnMax = {255, 255, 255, 65535, 65535, 65535};

// Where each column is; every one is required.
std::array<int, ColumnCount> ColumnPositionsOf(const QStringList& header, QStringList& errors) {
    QStringList names;
    for (const char* name : ColumnNames) names.append(QLatin1String(name));
    const std::vector<int> found = ColumnPositions(header, names, names, errors);
    std::array<int, ColumnCount> positions{};
    std::copy(found.begin(), found.end(), positions.begin());
    return positions;
}

template <typename Config, typename Fn>
void WithClass(Config& config, int classIndex, bool workingCopy, Fn&& fn) {
    if (IsSerialClassIndex(classIndex))
        fn(workingCopy ? config.EditSerialClasses[classIndex] : config.SerialClasses[classIndex]);
    else
        fn(workingCopy ? config.EditTcpClasses[classIndex - SerialClassCount]
                       : config.TcpClasses[classIndex - SerialClassCount]);
}

class RowReader {
public:
    RowReader(QStringList& errors, std::array<int, ColumnCount> positions)
        : errors_(errors), positions_(positions) {}

    void Refuse(int row, Column column, const QString& message) {
        errors_.append(QStringLiteral("row %1, column %2 (%3): %4")
                           .arg(row)
                           .arg(positions_[column] + 1)
                           .arg(QLatin1String(ColumnNames[column]), message));
    }

    std::optional<ModbusCommand> Read(int row, int instance, const QStringList& fields) {
        std::array<double, ColumnCount> values{};
        std::array<bool, ColumnCount> read{};
        for (int column = 0; column < ColumnCount; ++column) {
            const auto value = Number(row, Column(column), fields.value(positions_[column]));
            read[column] = value.has_value();
            values[column] = value.value_or(0);
        }
        bool passes = std::ranges::all_of(read, [](bool ok) { return ok; });
        if (read[Instance] && values[Instance] != instance) {
            passes = false;
            Refuse(row, Instance,
                   QStringLiteral("must be %1: instances are numbered 1, 2, 3... without gaps "
                                  "or repeats")
                       .arg(instance));
        }
        ModbusCommand command;
        command.Valid = 1;
        command.NetId = static_cast<uint8_t>(values[NetId]);
        command.FunctionCode = static_cast<uint8_t>(values[FunctionCode]);
        command.MemAddress = values[MemAddress];
        command.StartAddress = values[StartAddress];
        command.Length = static_cast<int32_t>(values[Length]);
        // A cell that is no number is reported once; the checks concern only the others,
        // and without a function code only the device address can be judged.
        const auto concernsUnread = [&](const QString& fields) {
            if (!read[FunctionCode] && fields != u"NetId") return true;
            for (const QString& field : fields.split(u'/'))
                if (!read[ColumnOf(field)]) return true;
            return false;
        };
        for (const CommandProblem& problem : CommandProblems(command)) {
            if (concernsUnread(problem.Field)) continue;
            passes = false;
            if (problem.Field == u"MemAddress/Length")
                errors_.append(QStringLiteral("row %1, columns %2/%3 (MemAddress/Length): %4")
                                   .arg(row)
                                   .arg(positions_[MemAddress] + 1)
                                   .arg(positions_[Length] + 1)
                                   .arg(problem.Message));
            else
                Refuse(row, ColumnOf(problem.Field), problem.Message);
        }
        return passes ? std::optional(command) : std::nullopt;
    }

private:
    static Column ColumnOf(const QString& name) {
        for (int column = 0; column < ColumnCount; ++column)
            if (name == QLatin1String(ColumnNames[column])) return Column(column);
        return Instance;
    }

    std::optional<double> Number(int row, Column column, const QString& text) {
        // The number readers stop at a NUL, so "2<NUL>5" would read as 2.
        const auto control = std::ranges::find_if(
            text, [](QChar c) { return c.category() == QChar::Other_Control; });
        if (control != text.end()) {
            Refuse(row, column,
                   QStringLiteral("holds a control character (0x%1)")
                       .arg(HexByteText(uint8_t(control->unicode()))));
            return std::nullopt;
        }
        bool isNumber = false;
        qint64 value = text.toLongLong(&isNumber);
        if (column == FunctionCode) {
            const auto code = FunctionCodeOfText(text);
            isNumber = code.has_value();
            value = code.value_or(0);
        }
        if (!isNumber) {
            Refuse(row, column, QStringLiteral("must be a whole number, not \"%1\"").arg(text));
            return std::nullopt;
        }
        if (value < 0 || value > ColumnMax[column]) {
            Refuse(row, column,
                   QStringLiteral("must lie in 0..%1, not %2").arg(ColumnMax[column]).arg(value));
            return std::nullopt;
        }
        return double(value);
    }

    QStringList& errors_;
    std::array<int, ColumnCount> positions_;
};

}  // namespace

QByteArray CommandTableCsv(const std::vector<ModbusCommand>& commands) {
    QStringList lines = {
        QStringLiteral("Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference")};
    int instance = 0;
    for (const ModbusCommand& command : commands) {
        lines.append(
            QStringList{QString::number(++instance), QString::number(command.NetId),
                        QString::number(command.FunctionCode), NumberFieldText(command.MemAddress),
                        NumberFieldText(command.StartAddress), QString::number(command.Length),
                        ModbusReferenceText(command.FunctionCode, int(command.StartAddress))}
                .join(u','));
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}

// The rows with their numbers in the file, in instance order: a spreadsheet may have
// sorted them by another column. Rows without a readable instance keep their place at the end.
QList<CsvRow> RowsByInstance(QList<CsvRow> rows, int column) {
    const auto instance = [column](const CsvRow& row) {
        bool isNumber = false;
        const int value = row.Fields.value(column).toInt(&isNumber);
        return isNumber ? value : INT_MAX;
    };
    std::ranges::stable_sort(rows, {}, instance);
    return rows;
}

CommandTableRead ReadCommandTableCsv(const QByteArray& text, int slots) {
    CommandTableRead read;
    const CsvTable table = ReadCsvTable(text);
    if (!table.Error.isEmpty()) return {{}, {table.Error}};
    if (table.Header.isEmpty() || !table.Header.contains(u"Instance", Qt::CaseInsensitive)) {
        read.Errors.append(QStringLiteral("row 1: %1; a table starts with the header %2")
                               .arg(table.Header.isEmpty()
                                        ? QStringLiteral("the file is empty")
                                        : QStringLiteral("the header names no column Instance"),
                                    QString::fromLatin1(CommandTableCsv({}).trimmed())));
        return read;
    }
    const auto positions = ColumnPositionsOf(table.Header, read.Errors);
    if (!read.ok()) return read;
    if (table.Rows.size() > slots)
        read.Errors.append(QStringLiteral("row %1: the class has %2 command slots")
                               .arg(table.Rows[slots].Number)
                               .arg(slots));
    RowReader reader(read.Errors, positions);
    const QList<CsvRow> rows = RowsByInstance(table.Rows, positions[Instance]);
    for (int i = 0; i < std::min<int>(int(rows.size()), slots); ++i) {
        if (const auto command = reader.Read(rows[i].Number, i + 1, rows[i].Fields))
            read.Commands.push_back(*command);
    }
    if (!read.ok()) read.Commands.clear();
    return read;
}

std::vector<ModbusCommand> CommandsOfClass(const GatewayConfig& config, int classIndex,
                                           bool workingCopy) {
    std::vector<ModbusCommand> commands;
    WithClass(config, classIndex, workingCopy, [&](const auto& record) {
        commands.assign(record.Commands.begin(), record.Commands.begin() + CommandCount(record));
    });
    return commands;
}

void SetCommandsOfClass(GatewayConfig& config, int classIndex, bool workingCopy,
                        const std::vector<ModbusCommand>& commands) {
    WithClass(config, classIndex, workingCopy, [&](auto& record) {
        record.Commands = {};
        const size_t count = std::min(commands.size(), record.Commands.size());
        std::copy_n(commands.begin(), count, record.Commands.begin());
        record.CmdCount = static_cast<uint8_t>(count);
    });
}

}  // namespace kv
