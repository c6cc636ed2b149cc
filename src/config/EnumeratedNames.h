#pragma once
// The fields a window offers as a list, with the text of each list entry. A configuration
// file may give such a field by that text instead of its number; files are written with
// numbers.

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

// The entries' texts for a message: "\"NONE\", \"EVEN\", \"ODD\"".
QString NamesText(const std::vector<NamedValue>& entries);

}  // namespace kv
