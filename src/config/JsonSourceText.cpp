#include "config/JsonSourceText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <cmath>
#include <vector>

namespace kv {
namespace {

// An object or list being read, with the key path of its values.
struct Open {
    bool IsObject = false;
    QString Path;
    qsizetype Index = 0;                 // a list's next position
    bool ExpectsKey = false;             // an object's next string is a key
    QString Key;                         // an object's current key
    QHash<QString, qsizetype> KeysSeen;  // an object's keys, each with where it stands
};

// The index just past the string that opens at `at` (the text is valid JSON).
qsizetype PastString(const QByteArray& bytes, qsizetype at) {
    for (++at; at < bytes.size() && bytes[at] != '"'; ++at)
        if (bytes[at] == '\\') ++at;
    return at + 1;
}

QString StringValue(const QByteArray& token) {
    if (!token.contains('\\')) return QString::fromUtf8(token.mid(1, token.size() - 2));
    return QJsonDocument::fromJson('[' + token + ']').array().at(0).toString();
}

QString ValuePath(const std::vector<Open>& open) {
    if (open.empty()) return {};
    const Open& inner = open.back();
    if (inner.IsObject) return inner.Path.isEmpty() ? inner.Key : inner.Path + u'.' + inner.Key;
    return inner.Path + u'[' + QString::number(inner.Index) + u']';
}

}  // namespace

bool IsJsonNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

QString JsonNumberText(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString NumberAsWritten(const WrittenNumbers& written, const QString& path, double value) {
    const auto text = written.constFind(path);
    if (text != written.cend() && text->toDouble() == value) return *text;
    return JsonNumberText(value);
}

JsonSourceText ScanJsonSource(const QByteArray& bytes) {
    JsonSourceText found;
    std::vector<Open> open;
    for (qsizetype at = 0; at < bytes.size();) {
        const char c = bytes[at];
        if (c == '{' || c == '[') {
            open.push_back({c == '{', ValuePath(open), 0, c == '{', {}, {}});
            ++at;
        } else if (c == '}' || c == ']') {
            if (!open.empty()) open.pop_back();
            ++at;
        } else if (c == ',') {
            if (!open.empty()) {
                ++open.back().Index;
                open.back().ExpectsKey = open.back().IsObject;
            }
            ++at;
        } else if (c == '"') {
            const qsizetype end = PastString(bytes, at);
            if (!open.empty() && open.back().ExpectsKey) {
                Open& object = open.back();
                object.Key = StringValue(bytes.mid(at, end - at));
                object.ExpectsKey = false;
                const auto first = object.KeysSeen.constFind(object.Key);
                if (first != object.KeysSeen.cend() && !found.KeyTwice)
                    found.KeyTwice = KeyGivenTwice{ValuePath(open), *first, at};
                object.KeysSeen.insert(object.Key, at);
            }
            at = end;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            qsizetype end = at;
            while (end < bytes.size() && IsJsonNumberCharacter(bytes[end])) ++end;
            const QByteArray text = bytes.mid(at, end - at);
            if (JsonNumberText(text.toDouble()) != QLatin1String(text))
                found.Numbers.insert(ValuePath(open), QString::fromLatin1(text));
            at = end;
        } else {
            ++at;  // blanks, ':', the letters of true, false and null
        }
    }
    return found;
}

}  // namespace kv
