#pragma once
// The text of the user's port assignments (ports.conf): INI lines "COM3=/dev/ttyUSB0" before
// any section or under [General], as earlier versions wrote them through QSettings (which
// quotes a value holding ';', ',' or '=' and escapes '"' and '\' with a backslash). A
// change touches the one COMn line concerned: comments, other sections and lines not
// understood stay as the user left them.

#include <QByteArray>
#include <QString>

namespace kv {

// The value of `key` (as "COM3") in `text`; empty when it has none.
QString AssignmentIn(const QByteArray& text, const QString& key);

// `text` with `key` set to `value`, or with its line removed when `value` is empty. A new
// line goes after the last line of the unnamed section or [General].
QByteArray WithAssignment(const QByteArray& text, const QString& key, const QString& value);

}  // namespace kv
