#pragma once
// The table that ends a command on more than one port: port, outcome, the command's own
// columns and seconds, one row per port.

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <utility>
#include <vector>

#include "save/OperationOutcome.h"

namespace kv::cli {

// Starts the line of each warning.
inline constexpr char WarningPrefix[] = "Warning: ";

// What one port's share of a command ended with.
struct PortRun {
    int Status = 1;
    QString Out;
    QString Err;
    double Seconds = 0;
    // Further columns of the table, as heading and value, in order.
    QList<std::pair<QString, QString>> Columns;
    int WarningLines = 0;  // the first lines of Err; the outcome is the line after them
    // For --json: how the operation ended, when the command knows, and the port's own fields.
    std::optional<OperationOutcome> Outcome;
    QJsonObject Result;
    bool EndedAfterStop = false;  // a stop signal had come when the port's work ended
};

// `runs` are in the order of `ports`.
void PrintPortTable(const QStringList& ports, const std::vector<PortRun>& runs, QTextStream& out);

}  // namespace kv::cli
