#pragma once
// A class's command table as comma-separated text, for spreadsheets. The header is
// "Instance,NetId,FunctionCode,MemAddress,StartAddress,Length,Reference"; each row is one
// command, instances 1, 2, ... in order. Reference is the conventional Modbus reference of
// the first item, written for the reader and ignored when a table is read.

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "config/GatewayConfig.h"

namespace kv {

QByteArray CommandTableCsv(const std::vector<ModbusCommand>& commands);

struct CommandTableRead {
    std::vector<ModbusCommand> Commands;
    QStringList Errors;  // "row 3, column 6 (Length): Communication Length Error. (1-120)"
    bool ok() const { return Errors.isEmpty(); }
};

// Reads a table for a class with `slots` command slots. Columns are found by their header
// names, so their order and a missing Reference do not matter. Each command must pass the
// editor's checks; every problem is reported, and then there are no commands.
CommandTableRead ReadCommandTableCsv(const QByteArray& text, int slots);

// The stored commands of a class (class index as in WorkingCopy.h), from the class records
// or from the editor's working copy.
std::vector<ModbusCommand> CommandsOfClass(const GatewayConfig& config, int classIndex,
                                           bool workingCopy);

// Replaces a class's commands (count and slots, the slots after them cleared).
void SetCommandsOfClass(GatewayConfig& config, int classIndex, bool workingCopy,
                        const std::vector<ModbusCommand>& commands);

}  // namespace kv
