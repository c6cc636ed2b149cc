#include "platform/PortAssignments.h"

#include <QList>
#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/UserReplyTimeout.h"

namespace kv {
namespace {

// One line of the file, as far as assignments go.
struct IniLine {
    bool Header = false;   // a "[section]" line
    bool General = false;  // for a header: the section holds the assignments
    QString Key;           // empty for comments, blank lines and lines without '='
    QString Value;         // as written, quotes and escapes still in
};

IniLine ParseLine(const QByteArray& raw) {
    const QString line = QString::fromUtf8(raw).trimmed();
    IniLine parsed;
    if (line.startsWith(u'[')) {
        parsed.Header = true;
        parsed.General = line.mid(1).section(u']', 0, 0).trimmed() == QLatin1String("General");
        return parsed;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (line.startsWith(u';') || line.startsWith(u'#') || equals < 0) return parsed;
    parsed.Key = line.left(equals).trimmed();
    parsed.Value = line.mid(equals + 1).trimmed();
    return parsed;
}

// A written value read back: surrounding quotes dropped, "\x" followed by hexadecimal digits
// is that character, a backslash before any other character keeps it.
QString Unescaped(QString value) {
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    QString plain;
    for (qsizetype k = 0; k < value.size(); ++k) {
        if (value[k] != u'\\' || k + 1 == value.size()) {
            plain += value[k];
        } else if (value[k + 1] == u'x') {
            qsizetype end = k + 2;
            while (end < value.size() && end < k + 6 &&
                   std::isxdigit(uint8_t(value[end].toLatin1())))
                ++end;
            plain += QChar(value.mid(k + 2, end - k - 2).toUShort(nullptr, 16));
            k = end - 1;
        } else {
            plain += value[++k];
        }
    }
    return plain;
}

// The value as QSettings would write it, so that either reads the other's file.
QByteArray Escaped(const QString& value) {
    QByteArray written = value.toUtf8();
    written.replace('\\', "\\\\").replace('"', "\\\"");
    const bool quoted = value.contains(u';') || value.contains(u',') || value.contains(u'=') ||
                        value.startsWith(u' ') || value.endsWith(u' ');
    return quoted ? '"' + written + '"' : written;
}

// A key's value, read back, and the number of its line (0: the text has none).
struct Found {
    QString Value;
    int Line = 0;
};

Found Find(const QByteArray& text, const QString& key) {
    bool general = true;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        const IniLine line = ParseLine(raw);
        if (line.Header) general = line.General;
        if (general && line.Key == key) return {Unescaped(line.Value), number};
    }
    return {};
}

}  // namespace

QString DeviceKey(int number) { return QStringLiteral("COM%1").arg(number); }

QString ReplyTimeoutKey(int number) { return DeviceKey(number) + QStringLiteral("ReplyTimeout"); }

QString AssignmentIn(const QByteArray& text, const QString& key) { return Find(text, key).Value; }

ComAssignment ComAssignmentIn(const QByteArray& text, int number) {
    const Found device = Find(text, DeviceKey(number));
    if (const QString control = ControlCharacterIn(device.Value); !control.isEmpty())
        return {{},
                0,
                QStringLiteral("line %1: %2 holds a control character (%3)")
                    .arg(device.Line)
                    .arg(DeviceKey(number), control)};
    const Found timeout = Find(text, ReplyTimeoutKey(number));
    if (timeout.Value.isEmpty()) return {device.Value, 0, {}};
    if (const std::optional<int> ms = UserReplyTimeoutIn(timeout.Value))
        return {device.Value, *ms, {}};
    // The value is quoted only when it holds nothing a terminal would act on.
    const QString given = ControlCharacterIn(timeout.Value).isEmpty()
                              ? QStringLiteral(", not ") + timeout.Value.left(20)
                              : QString();
    return {{},
            0,
            QStringLiteral("line %1: %2 takes %3%4")
                .arg(timeout.Line)
                .arg(ReplyTimeoutKey(number), UserReplyTimeoutRange(), given)};
}

QString ControlCharacterIn(const QString& name) {
    const auto control = std::find_if(name.cbegin(), name.cend(),
                                      [](QChar c) { return c.category() == QChar::Other_Control; });
    if (control == name.cend()) return {};
    return QStringLiteral("U+%1").arg(control->unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

QByteArray WithAssignment(const QByteArray& text, const QString& key, const QString& value) {
    QList<QByteArray> lines = text.isEmpty() ? QList<QByteArray>() : text.split('\n');
    const QByteArray assignment = key.toUtf8() + '=' + Escaped(value);
    bool general = true;
    bool set = value.isEmpty();
    qsizetype insertAt = 0;  // after the last line of the assignments' sections
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const IniLine line = ParseLine(lines[k]);
        if (line.Header) general = line.General;
        if (general && line.Key == key) {
            if (set) {
                lines.remove(k--);  // the line to remove, or a second line for the key
                continue;
            }
            lines[k] = assignment;
            set = true;
        }
        if (general && !lines[k].trimmed().isEmpty()) insertAt = k + 1;
    }
    if (!set) lines.insert(insertAt, assignment);
    if (text.isEmpty() || !text.endsWith('\n')) lines.append(QByteArray());  // ends with a line end
    return lines.join('\n');
}

}  // namespace kv
