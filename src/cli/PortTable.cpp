#include "cli/PortTable.h"

#include <algorithm>

namespace kv::cli {
namespace {

QString OutcomeText(const PortRun& run) {
    if (run.Status == 0) return QStringLiteral("OK");
    for (const QString& line : run.Err.split(u'\n', Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String(WarningPrefix))) return line.trimmed();
    return QStringLiteral("failed");
}

// The value of column `heading` of a run; empty when the run did not get that far.
QString ColumnValue(const PortRun& run, const QString& heading) {
    for (const auto& [name, value] : run.Columns)
        if (name == heading) return value;
    return {};
}

}  // namespace

void PrintPortTable(const QStringList& ports, const std::vector<PortRun>& runs, QTextStream& out) {
    QStringList headings = {QStringLiteral("PORT"), QStringLiteral("OUTCOME")};
    for (const PortRun& run : runs)
        for (const auto& column : run.Columns)
            if (!headings.contains(column.first)) headings.append(column.first);
    headings.append(QStringLiteral("SECONDS"));
    QList<QStringList> rows;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        QStringList row = {ports[i], OutcomeText(runs[i])};
        for (qsizetype c = 2; c < headings.size() - 1; ++c)
            row.append(ColumnValue(runs[i], headings[c]));
        row.append(QString::number(runs[i].Seconds, 'f', 1));
        rows.append(row);
    }
    QList<qsizetype> widths;
    for (qsizetype c = 0; c < headings.size(); ++c) {
        qsizetype width = headings[c].size();
        for (const QStringList& row : rows) width = std::max(width, row[c].size());
        widths.append(width);
    }
    const auto printRow = [&](const QStringList& cells) {
        QString line;
        for (qsizetype c = 0; c + 1 < cells.size(); ++c)
            line += cells[c].leftJustified(widths[c] + 2);
        out << line << cells.last() << "\n";
    };
    printRow(headings);
    for (const QStringList& row : rows) printRow(row);
}

}  // namespace kv::cli
