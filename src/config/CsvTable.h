#pragma once
// Comma-separated tables as spreadsheets save them: a header row of column names, then one
// row per record. A header without a comma is read with tabs or, failing those, ';' as the
// separator, as spreadsheets write it in locales with a decimal comma. Fields may be quoted
// as RFC 4180 has it: a quoted field keeps separators and line breaks, and "" in it is one
// quote.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv {

struct CsvRow {
    int Number = 0;  // in the file as a spreadsheet counts rows, the header being row 1
    QStringList Fields;
};

struct CsvTable {
    QStringList Header;
    // Rows whose fields are all empty (";;;;;;" as spreadsheets save them) are left out.
    QList<CsvRow> Rows;
    QString Error;  // "row 4: its quote is not closed"; then there are no rows
};

// Lines end with LF, CR LF or CR; fields are trimmed.
CsvTable ReadCsvTable(const QByteArray& text);

// Where each of `names` is in `header`, in any letter case; -1 for a column the header
// lacks. A name the header holds twice, and a required one it lacks, is an error line
// ("row 1: the header names column X twice").
std::vector<int> ColumnPositions(const QStringList& header, const QStringList& names,
                                 const QStringList& required, QStringList& errors);

}  // namespace kv
