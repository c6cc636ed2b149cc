#pragma once
// What the save window (and the CLI) tells the user when a save or a factory reset does
// not complete: the message, its title, and the main window's status text.

#include <QString>

#include "console/PortOpening.h"
#include "save/SaveConfiguration.h"
#include "save/WriteBack.h"

namespace kv {

// The console stopped answering; `end` is the link's End() (ExchangeFailureText).
FailureReport ReportWriteFailure(const LinkEndState& end = {});
// The outcome is not Ok.
FailureReport ReportSaveFailure(const SaveOutcome& outcome, const LinkEndState& end = {});

}  // namespace kv
