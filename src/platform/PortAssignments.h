#pragma once
// The text of the user's port assignments (ports.conf): INI lines "COM3=/dev/ttyUSB0" before
// any section or under [General], as earlier versions wrote them through QSettings (which
// quotes a value holding ';', ',' or '=' and escapes '"' and '\' with a backslash). A
// change touches the one COMn line concerned: comments, other sections and lines not
// understood stay as the user left them. What a port opens is read with the checks
// `ports --assign` makes: a line that fails them is refused with its number, never taken as
// it is.

#include <QByteArray>
#include <QString>

namespace kv {

// The keys of COM n's lines: "COM3" for the device, "COM3ReplyTimeout" for the time-out.
QString DeviceKey(int number);
QString ReplyTimeoutKey(int number);

// The value of `key` (as "COM3") in `text`; empty when it has none.
QString AssignmentIn(const QByteArray& text, const QString& key);

// COM n's lines as a port opens them: the device path or network address and the reply
// time-out kept with it, or why one of the lines is refused ("line 3: ..."), then with
// nothing else.
struct ComAssignment {
    QString Device;          // empty when there is none
    int ReplyTimeoutMs = 0;  // 0 when there is none
    QString Refused;
};
ComAssignment ComAssignmentIn(const QByteArray& text, int number);

// The first control character in `name` as "U+0000", empty when it holds none. No device's
// name holds one, and at a NUL the system would cut the name short and open another file:
// every name that reaches a device, assigned, read back or given, is held to it.
QString ControlCharacterIn(const QString& name);

// `text` with `key` set to `value`, or with its line removed when `value` is empty. A new
// line goes after the last line of the unnamed section or [General].
QByteArray WithAssignment(const QByteArray& text, const QString& key, const QString& value);

}  // namespace kv
