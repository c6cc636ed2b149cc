#pragma once
// Comma-separated tables as spreadsheets save them: a header row of column names, then one
// row per record. A header without a comma is read with tabs or, failing those, ';' as the
// separator, as spreadsheets write it in locales with a decimal comma. Fields may be quoted.

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <vector>

namespace kv {

struct CsvTable {
    QStringList Header;
    QList<QStringList> Rows;  // Rows[i] is row i + 2 of the file
};

// Lines end with LF or CR LF; blank lines at the end are dropped.
CsvTable ReadCsvTable(const QByteArray& text);

// Where each of `names` is in `header`, in any letter case; -1 for a column the header
// lacks. A name the header holds twice, and a required one it lacks, is an error line
// ("row 1: the header names column X twice").
std::vector<int> ColumnPositions(const QStringList& header, const QStringList& names,
                                 const QStringList& required, QStringList& errors);

}  // namespace kv
