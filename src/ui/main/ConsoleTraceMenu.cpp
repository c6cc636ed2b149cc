// The main window's "Save Console Trace...": what went over the wire during the last
// operation with a gateway, for a look at a console that misbehaves.

#include "platform/WholeFile.h"
#include "ui/main/Main_F.h"

namespace kv {
namespace {

const char* const TraceFileFilter = "Console trace (*.txt)";
const char* const TraceTitle = "Save Console Trace";

}  // namespace

void Main_F::SaveConsoleTrace() {
    // The trace of a running operation is not complete yet.
    if (session_.Gateway.IsBusy()) return;
    const QString trace = session_.Gateway.LastTrace();
    if (trace.isEmpty()) {
        session_.Dialogs.Message(
            QStringLiteral("Nothing has gone over the wire yet: there is no trace to save."),
            TraceTitle);
        return;
    }
    const QString path =
        session_.Dialogs.SaveFileName(TraceFileFilter, {}, QStringLiteral("console-trace.txt"));
    if (path.isEmpty()) return;
    const QString failure = WriteWholeFile(path, trace.toUtf8());
    if (!failure.isEmpty())
        session_.Dialogs.Message(
            path + QStringLiteral(": ") + failure + QStringLiteral("\nNothing was saved."),
            TraceTitle);
}

}  // namespace kv
