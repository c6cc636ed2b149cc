#pragma once
// Running one command's work on many gateways at once: each port on a thread of its own
// with its own port object and console link, a progress line on a terminal, and at the
// end a table of port, outcome and seconds.

#include <QCommandLineParser>
#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <mutex>

#include "console/ReadOut.h"
#include "platform/PortNaming.h"

namespace kv::cli {

// Whether an operand names a port to read live rather than a file: "COM3", "3", a device
// path or a network address. An existing file of that name wins, except under /dev, where
// every port is a file.
bool NamesAPort(const QString& argument);

// Starts the line of each warning; a port's outcome is told by its first line that is none.
inline constexpr char WarningPrefix[] = "Warning: ";

// Every --port value, comma lists split, in the order given.
QStringList PortsOf(const QCommandLineParser& args);

// Says how to name a port and returns the usage status; for a command given no port.
int NoPortGiven(QTextStream& err);

// 0 when the command may go on with `ports`; else says why not (no port given, a network
// address that names none, a port named twice) and returns the usage status.
int CheckPorts(const QStringList& ports, QTextStream& err);

// One line on standard error that rewrites itself: what each port is doing and how far.
// Nothing is shown when standard error is no terminal or when the command has --quiet.
// Safe to call from any thread.
class ProgressLine {
public:
    explicit ProgressLine(const QCommandLineParser& args);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(const QString& port, const QString& doing, int percent);
    void Forget(const QString& port);
    // A ProgressFn that shows `doing` with value/maximum as a percentage.
    ProgressFn For(const QString& port, const QString& doing, int maximum);
    // Takes the line off the terminal, so that messages start on a clean line.
    void Clear();
    // Writes `line` to `err` at once, with the progress line taken off first.
    void PrintAbove(QTextStream& err, const QString& line);

private:
    void Draw();

    std::mutex mutex_;
    bool shown_ = false;
    QStringList order_;
    QHash<QString, QString> states_;
    QString drawn_;
};

// One port's share of a command: its port as given, its own output (printed when the port
// is done) and the progress line.
struct PortWork {
    QString Port;
    QTextStream& Out;
    QTextStream& Err;
    ProgressLine& Progress;
    QTextStream& Now;  // standard error, for Tell
    bool Marked;       // lines are marked with the port
    // Further columns of the table of ports, as heading and value, in order.
    QList<std::pair<QString, QString>> Columns = {};

    ProgressFn Report(const QString& doing, int maximum) const {
        return Progress.For(Port, doing, maximum);
    }
    // Prints a line on standard error at once, for what the user must learn even when the
    // run is cut short: where a backup went.
    void Tell(const QString& line) const {
        Progress.PrintAbove(Now, Marked ? Port + QStringLiteral(": ") + line : line);
    }
};

// Returns the exit status of one port.
using PortTask = std::function<int(PortWork& work)>;

// Runs `task` for every port at once, each on its own thread. With one port its messages
// go straight to `out` and `err`; with more each line is marked with its port and a table
// follows. The status is 0 only when every port succeeded, else the highest port status;
// after SIGINT or SIGTERM, which stop every port before its next console line, it is
// StopOnSignal::ExitStatus().
int RunOnPorts(const QStringList& ports, const QCommandLineParser& args, const PortTask& task,
               QTextStream& out, QTextStream& err);

}  // namespace kv::cli
