#include "config/CsvTable.h"

namespace kv {
namespace {

QStringList SplitRow(const QString& line, QChar separator) {
    QStringList fields = line.split(separator);
    for (QString& field : fields) {
        field = field.trimmed();
        if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
            field = field.mid(1, field.size() - 2).trimmed();
    }
    return fields;
}

}  // namespace

CsvTable ReadCsvTable(const QByteArray& text) {
    // Lines end in LF, CR LF or, as some spreadsheets save them, CR alone.
    QString all = QString::fromUtf8(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(u'\r', u'\n');
    QStringList lines = all.split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    CsvTable table;
    if (lines.isEmpty()) return table;
    const QString& first = lines.first();
    QChar separator = u',';
    if (!first.contains(u','))
        separator = first.contains(u'\t') ? u'\t' : first.contains(u';') ? u';' : u',';
    table.Header = SplitRow(first, separator);
    for (qsizetype i = 1; i < lines.size(); ++i) table.Rows.append(SplitRow(lines[i], separator));
    return table;
}

std::vector<int> ColumnPositions(const QStringList& header, const QStringList& names,
                                 const QStringList& required, QStringList& errors) {
    std::vector<int> positions(size_t(names.size()), -1);
    for (qsizetype column = 0; column < names.size(); ++column) {
        const QString& name = names[column];
        for (int position = 0; position < header.size(); ++position) {
            if (header[position].compare(name, Qt::CaseInsensitive) != 0) continue;
            if (positions[size_t(column)] >= 0) {
                errors.append(QStringLiteral("row 1: the header names column %1 twice").arg(name));
                break;
            }
            positions[size_t(column)] = position;
        }
        if (positions[size_t(column)] < 0 && required.contains(name))
            errors.append(QStringLiteral("row 1: the header names no column %1").arg(name));
    }
    return positions;
}

}  // namespace kv
