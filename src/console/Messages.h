#pragma once
// The texts the program shows for failures that several windows and the CLI share.

#include <QString>

#include "console/LinkEnd.h"

namespace kv {

inline const char* const TimeoutText = "Timeout";
inline const char* const UnknownControllerText = "This modules is not 5308!";

// Port numbers in messages carry one leading blank: "Can't open COM 3!".
inline QString CantOpenComText(int port) { return QStringLiteral("Can't open COM %1!").arg(port); }
inline QString ComOccupiedText(int port) {
    return QStringLiteral("COM %1 has been occupied").arg(port);
}

// What to check when a gateway never answered; `port` as "COM 3 (/dev/ttyUSB0)".
inline QString NoAnswerHint(const QString& port) {
    return QStringLiteral(
               "The gateway never answered. Check that it is powered, that the cable sits in "
               "its console port, and that it is on %1.")
        .arg(port);
}

// What "Show Details..." and the command line give after a failed exchange: what to check
// first when not a byte came back (`heardNothing`), then `exchanges`, what went over the wire.
inline QString FailureDetails(bool heardNothing, const QString& port, const QString& exchanges) {
    if (!heardNothing) return exchanges;
    return exchanges.isEmpty() ? NoAnswerHint(port) : NoAnswerHint(port) + u'\n' + exchanges;
}

// The first line of a failed exchange: "Timeout", or the port's words when the device went
// away during the operation (`end` is the link's End()).
inline QString ExchangeFailureText(const LinkEndState& end) {
    return end.Kind == LinkEnd::DeviceLost ? end.Detail : QString::fromLatin1(TimeoutText);
}

}  // namespace kv
