#pragma once
// The ports a command is given: its --port values, checked before any port is opened, and
// an operand told apart from a file.

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

namespace kv::cli {

// Whether an operand names a port to read live rather than a file: "COM3", "3", a device
// path or a network address. An existing file of that name wins, except under /dev, where
// every port is a file.
bool NamesAPort(const QString& argument);

// Every --port value, comma lists split, in the order given.
QStringList PortsOf(const QCommandLineParser& args);

// Says how to name a port and returns the usage status; for a command given no port.
int NoPortGiven(QTextStream& err);

// 0 when the command may go on with `ports`; else says why not (no port given, a network
// address that names none, a port named twice) and returns the usage status.
int CheckPorts(const QStringList& ports, QTextStream& err);

}  // namespace kv::cli
