#include "config/CsvTable.h"

#include <algorithm>

namespace kv {
namespace {

// Qt has no CSV reader (QTextStream reads lines, and a quoted field may hold line breaks),
// so the records are split here. Only a field that starts with a quote is quoted; a quote
// inside an unquoted field is an ordinary character, as spreadsheets read it.
class CsvReader {
public:
    CsvReader(const QString& text, QChar separator) : text_(text), separator_(separator) {}

    // The next record's fields; false at the end of the text.
    bool Next(QStringList& fields) {
        fields.clear();
        if (at_ >= text_.size()) return false;
        ++row_;
        for (;;) {
            fields.append(Field());
            if (at_ >= text_.size() || text_[at_] != separator_) break;
            ++at_;
        }
        if (at_ < text_.size()) ++at_;  // the line break
        return true;
    }

    int Row() const { return row_; }
    bool QuoteUnclosed() const { return unclosed_; }

private:
    QString Field() {
        while (at_ < text_.size() && text_[at_] != separator_ && IsBlank(text_[at_])) ++at_;
        if (at_ < text_.size() && text_[at_] == u'"') return Quoted();
        const qsizetype start = at_;
        while (at_ < text_.size() && text_[at_] != separator_ && text_[at_] != u'\n') ++at_;
        return text_.sliced(start, at_ - start).trimmed();
    }

    QString Quoted() {
        QString field;
        ++at_;
        for (;;) {
            const qsizetype quote = text_.indexOf(u'"', at_);
            if (quote < 0) {
                unclosed_ = true;
                at_ = text_.size();
                return field;
            }
            field += text_.sliced(at_, quote - at_);
            at_ = quote + 1;
            if (at_ < text_.size() && text_[at_] == u'"') {
                field += u'"';
                ++at_;
                continue;
            }
            // What stands between the closing quote and the separator (blanks) is dropped.
            while (at_ < text_.size() && text_[at_] != separator_ && text_[at_] != u'\n') ++at_;
            return field.trimmed();
        }
    }

    static bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

    const QString& text_;
    QChar separator_;
    qsizetype at_ = 0;
    int row_ = 0;
    bool unclosed_ = false;
};

// ',' when the header holds one outside quotes, else a tab, else ';'.
QChar SeparatorOf(const QString& text) {
    bool quoted = false;
    QString seen;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\n')
            break;
        else if (!quoted)
            seen += c;
    }
    for (const QChar separator : {u',', u'\t', u';'})
        if (seen.contains(separator)) return separator;
    return u',';
}

bool IsEmptyRow(const QStringList& fields) {
    return std::ranges::all_of(fields, [](const QString& field) { return field.isEmpty(); });
}

}  // namespace

CsvTable ReadCsvTable(const QByteArray& text) {
    // Lines end in LF, CR LF or, as some spreadsheets save them, CR alone.
    QString all = QString::fromUtf8(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(u'\r', u'\n');
    CsvReader reader(all, SeparatorOf(all));
    CsvTable table;
    QStringList fields;
    while (reader.Next(fields)) {
        if (IsEmptyRow(fields)) continue;
        if (table.Header.isEmpty())
            table.Header = fields;
        else
            table.Rows.append({reader.Row(), fields});
    }
    if (reader.QuoteUnclosed()) {
        table.Error = QStringLiteral("row %1: its quote is not closed").arg(reader.Row());
        table.Rows.clear();
    }
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
