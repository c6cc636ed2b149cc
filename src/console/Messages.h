#pragma once
// The texts the program shows for failures that several windows and the CLI share.

#include <QString>

namespace kv {

inline const char* const TimeoutText = "Timeout";
inline const char* const UnknownControllerText = "This modules is not 5308!";

// Port numbers in messages carry one leading blank: "Can't open COM 3!".
inline QString CantOpenComText(int port) { return QStringLiteral("Can't open COM %1!").arg(port); }
inline QString ComOccupiedText(int port) {
    return QStringLiteral("COM %1 has been occupied").arg(port);
}

}  // namespace kv
