#pragma once
// What QJsonDocument drops of a configuration file's text: how a number was written
// ("2.50", "1E5"), so that a message quotes the file and not the program's rendering of
// it, and a key an object gives twice, of which QJsonDocument silently keeps one.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace kv {

// The file's texts of the numbers the program would write otherwise, by key path
// ("SerialClasses[0].Commands[2].Length", as the merge names fields).
using WrittenNumbers = QHash<QString, QString>;

// A key given twice in one object: its key path and the byte index of each of the two.
struct KeyGivenTwice {
    QString Path;
    qsizetype First = 0;
    qsizetype Second = 0;
};

struct JsonSourceText {
    WrittenNumbers Numbers;
    std::optional<KeyGivenTwice> KeyTwice;  // the first one in the text
};

// Reads text that QJsonDocument has parsed as an object without error; one pass, no
// recursion, so that it holds for whatever nesting and size the parser took.
JsonSourceText ScanJsonSource(const QByteArray& bytes);

// A character that may stand in a JSON number.
bool IsJsonNumberCharacter(char c);

// A number as the program writes it: whole ones in plain decimal ("100000"), others in the
// shortest form that reads back the same ("2.5").
QString JsonNumberText(double value);

// How a number of the file is shown: as the file wrote it at `path` when that text stands
// for `value` (a value the program set itself is shown as the program writes it).
QString NumberAsWritten(const WrittenNumbers& written, const QString& path, double value);

}  // namespace kv
