#include "cli/PortTable.h"

#include <algorithm>

namespace kv::cli {
namespace {

QString OutcomeText(const PortRun& run) {
    if (run.Status == 0) return QStringLiteral("OK");
    const QStringList lines = run.Err.split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() > run.WarningLines) return lines[run.WarningLines].trimmed();
    return QStringLiteral("failed");
}

// The value of column `heading` of a run; empty when the run did not get that far.
QString ColumnValue(const PortRun& run, const QString& heading) {
    for (const auto& [name, value] : run.Columns)
        if (name == heading) return value;
    return {};
}

// PORT, OUTCOME, every run's own columns in the order first met, SECONDS.
QStringList Headings(const std::vector<PortRun>& runs) {
    QStringList headings = {QStringLiteral("PORT"), QStringLiteral("OUTCOME")};
    for (const PortRun& run : runs)
        for (const auto& column : run.Columns)
            if (!headings.contains(column.first)) headings.append(column.first);
    headings.append(QStringLiteral("SECONDS"));
    return headings;
}

QStringList Row(const QString& port, const PortRun& run, const QStringList& headings) {
    QStringList row = {port, OutcomeText(run)};
    for (qsizetype c = 2; c < headings.size() - 1; ++c) row.append(ColumnValue(run, headings[c]));
    row.append(QString::number(run.Seconds, 'f', 1));
    return row;
}

// The widest cell of each column, the heading included.
QList<qsizetype> ColumnWidths(const QList<QStringList>& lines) {
    QList<qsizetype> widths(lines.first().size(), 0);
    for (const QStringList& line : lines)
        for (qsizetype c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], line[c].size());
    return widths;
}

}  // namespace

void PrintPortTable(const QStringList& ports, const std::vector<PortRun>& runs, QTextStream& out) {
    const QStringList headings = Headings(runs);
    QList<QStringList> lines = {headings};
    for (qsizetype i = 0; i < ports.size(); ++i) lines.append(Row(ports[i], runs[i], headings));
    const QList<qsizetype> widths = ColumnWidths(lines);
    for (const QStringList& cells : lines) {
        QString line;
        for (qsizetype c = 0; c + 1 < cells.size(); ++c)
            line += cells[c].leftJustified(widths[c] + 2);
        out << line << cells.last() << "\n";
    }
}

}  // namespace kv::cli
