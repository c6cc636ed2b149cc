#pragma once
// The result document of `--json`: one JSON document on standard output that says what a
// command did, in place of its text for people (which then goes to standard error).
// {"Format": "kv9052r-result/1", "Command", "Status", the command's own fields, "Ports": one
// entry per port}. It is written here only; commands fill their own fields.

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <optional>

#include "save/OperationOutcome.h"

namespace kv::cli {

struct PortRun;

inline constexpr char ResultFormat[] = "kv9052r-result/1";

class ResultDocument {
public:
    ResultDocument(bool wanted, const QString& command) : wanted_(wanted), command_(command) {}

    bool Wanted() const { return wanted_; }
    // For `read --json` of one port, which prints the configuration file itself.
    void PrintFileInstead() { wanted_ = false; }

    // Commands that write to the gateway: each entry says its State.
    bool Writes = false;
    // The command's own fields at the top of the document.
    QJsonObject Fields;

    // The entry of `port`: Port, Device, Outcome, State, Message, Backup, Seconds and the
    // command's own fields of the run. Without an outcome of its own the run's status says
    // how it ended.
    void AddPort(const QString& port, const PortRun& run);
    // The entry of a port that a command refused before it opened any (`fields` its own).
    void AddRefusedPort(const QString& port, const QString& message, const QJsonObject& fields);

    // Prints the document, when it is wanted, with the command's exit status; a command that
    // ended with no port's entry has what it `told` on standard error as its Message.
    void Print(QTextStream& out, int status, const QString& told) const;

private:
    bool wanted_;
    QString command_;
    QJsonArray ports_;
};

}  // namespace kv::cli
