#pragma once
// Running one command's work on many gateways at once: each port on a thread of its own
// with its own port object and console link, a progress line on a terminal, and at the
// end a table of port, outcome and seconds.

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <utility>

#include "cli/Invocation.h"
#include "cli/PortTable.h"
#include "cli/ProgressLine.h"

namespace kv::cli {

// One port's share of a command: its port as given, the settings its console is opened
// with, its own output (printed when the port is done) and the progress line.
struct PortWork {
    QString Port;
    const ConsoleSettings& Console;
    QTextStream& Out;
    QTextStream& Err;
    ProgressLine& Progress;
    QTextStream& Now;  // standard error, for Tell
    bool Marked;       // lines are marked with the port
    // Further columns of the table of ports, as heading and value, in order.
    QList<std::pair<QString, QString>> Columns = {};
    // The warnings written first to Err; the table's outcome is the line after them.
    int WarningLines = 0;
    // For --json: how the operation ended (OutcomeOf), and the fields of the port's entry
    // that are the command's own (ResultDocument).
    std::optional<OperationOutcome> Outcome = {};
    QJsonObject Result = {};

    ProgressFn Report(const QString& doing, int maximum) const {
        return Progress.For(Port, doing, maximum);
    }
    // Prints a line on standard error at once, for what the user must learn even when the
    // run is cut short: where a backup went.
    void Tell(const QString& line) const {
        Progress.PrintAbove(Now, Marked ? Port + QStringLiteral(": ") + line : line);
    }
    // Writes a warning (one line) to Err, before anything else goes there.
    void Warn(const QString& warning) {
        Err << WarningPrefix << warning << "\n";
        ++WarningLines;
    }
};

// Returns the exit status of one port.
using PortTask = std::function<int(PortWork& work)>;

// Runs `task` for every port at once, each on its own thread. With one port its messages
// go straight to the invocation's output and error streams; with more each line is marked
// with its port and a table follows (with --json: each port's entry in the document, and
// no table). The status is 0 only when every port succeeded, else
// the highest port status; after SIGINT or SIGTERM, which stop every port before its next
// console line, it is StopOnSignal::ExitStatus().
int RunOnPorts(const QStringList& ports, const Invocation& in, const PortTask& task);

}  // namespace kv::cli
