#pragma once
// What the user is told when the gateway's port does not open: the message, its title and
// the main window's status text. The main window, the save window, the EEPROM copy window
// and the CLI all report it this way.

#include <QString>
#include <optional>

#include "console/MessageKind.h"
#include "platform/SerialPort.h"

namespace kv {

// A message box, and what becomes of the main window's status text (CommunicationState).
struct FailureReport {
    QString Text;
    QString Title;                              // empty: the program's own title
    std::optional<QString> CommunicationState;  // empty optional: left as it is
    // What "Show Details..." gives before the console trace: the program that holds an
    // occupied port, when the system tells.
    QString Details = {};
    MessageKind Kind = MessageKind::Information;
};

// What "Show Details..." gives for `report`: its own details, then `more` (the trace).
inline QString DetailsThen(const FailureReport& report, const QString& more) {
    if (report.Details.isEmpty() || more.isEmpty()) return report.Details + more;
    return report.Details + u'\n' + more;
}

// The titles of the two port messages the program words itself; the system's own error
// text always comes under the program's title. The windows have titled them differently
// ever since, and users know them that way.
struct PortMessageTitles {
    QString InUse;
    QString NotOpened;
    MessageKind Kind;  // of both
};
// The save window, the factory reset and the EEPROM copy window.
inline const PortMessageTitles TransferPortTitles{QString(), QStringLiteral("Warning"),
                                                  MessageKind::Information};
// The main window's read-out.
inline const PortMessageTitles ReadOutPortTitles{QStringLiteral("Error"), QStringLiteral("Error"),
                                                 MessageKind::Error};

// For a result that is not ok: a port held by another program ("COM 3 has been occupied",
// also the status text, with its holder in Details), a refusal with the system's reason (the status
// emptied), or a port that did not open ("Can't open COM 3!", the status as it was).
FailureReport ReportPortFailure(const PortOpenResult& result, int portNumber,
                                const PortMessageTitles& titles = TransferPortTitles);

}  // namespace kv
