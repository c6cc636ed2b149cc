#pragma once
// The fields a window offers as a list, with the text of each list entry. A configuration
// file may give such a field by that text instead of its number, and `read --texts` writes
// it so.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace kv {

// One entry of a list: its text and the number stored for it.
using NamedValue = std::pair<QString, int>;

// The entries of the field `key` (BaudIndex, Parity, ConnMode, ConnValid, FunctionCode), or
// nullptr when the field is no list.
const std::vector<NamedValue>* NamedValuesOf(QStringView key);

// The text of the entry that stands for `value` in the list of field `key`; nothing when
// the field is no list or the list holds no such entry.
std::optional<QString> EntryTextOf(QStringView key, double value);

// The number an entry's text stands for; outer blanks and letter case do not count.
std::optional<int> ValueOfName(const std::vector<NamedValue>& entries, const QString& text);

// The number a function code is written as, in configuration files and command tables
// alike: the text of its list entry ("FC03 Read Holding Registers") or the code itself, "3",
// "03", "FC03", "fc 3", "0x03"; outer blanks and letter case do not count. Any whole number
// is returned, a known code or not: its range and the checks are the caller's.
std::optional<qint64> FunctionCodeOfText(const QString& text);

// The number a list field's text stands for: FunctionCodeOfText for FunctionCode, the
// entry's text (ValueOfName) for the other lists; nothing for a field that is no list.
std::optional<qint64> ListValueOfText(QStringView key, const QString& text);

// The entries' texts for a message: "\"NONE\", \"EVEN\", \"ODD\"".
QString NamesText(const std::vector<NamedValue>& entries);

}  // namespace kv
