#pragma once
// What the save window (and the CLI) tells the user when a save or a factory reset does
// not complete: the message, its title, and the main window's status text.

#include <QString>
#include <optional>

#include "console/ReadOut.h"
#include "platform/SerialPort.h"
#include "save/SaveConfiguration.h"
#include "save/WriteBack.h"

namespace kv {

struct FailureReport {
    QString Text;
    QString Title;                              // empty: the program's own title
    std::optional<QString> CommunicationState;  // empty optional: left as it is
};

// Selects COM `portNumber` and opens it, unless the port is open already.
PortOpenResult OpenGatewayPort(SerialPort& port, int portNumber);

FailureReport ReportPortFailure(const PortOpenResult& result, int portNumber);
FailureReport ReportWriteFailure();                           // the console stopped answering
FailureReport ReportSaveFailure(const SaveOutcome& outcome);  // outcome not Ok

// The message of a read-out that did not complete, as the main window shows it.
QString ReadOutFailureText(ReadOutResult result);

}  // namespace kv
