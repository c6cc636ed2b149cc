#pragma once
// Reading the words after a command's name: options with values, the file operand, and
// a --port argument's COM number.

#include <QString>
#include <QStringList>

namespace kv::cli {

// The value after `option` in args ("--port COM3"), empty when absent.
QString OptionValue(const QStringList& args, const QString& option);

// The first word that is neither an option nor the value of one of `optionsWithValues`;
// empty when there is none.
QString FileArgument(const QStringList& args, const QStringList& optionsWithValues);

// "COM3", "com 3" or "3" name COM 3. 0 when the argument names no COM port (it may be a
// device path), -1 for a number outside COM 1..16.
int ComNumberOf(const QString& argument);

}  // namespace kv::cli
