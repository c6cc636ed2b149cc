#pragma once
// How the command line names a port: its COM number, one key for every spelling of it, and
// the stem of its output files.

#include <QString>

namespace kv::cli {

// "COM3", "com 3" or "3" name COM 3. 0 when the argument names no COM port (it may be a
// device path), -1 for a number outside COM 1..16.
int ComNumberOf(const QString& argument);

// One text for each port, however it is named: COM n as the device behind it, a device path
// through its links, a network address whatever its spelling (PortIdentity.h). A COM n
// with nothing behind it is "COMn".
QString PortKey(const QString& port);

// The name of a port's output file without extension: COMn for a COM port, "HOST-PORT" for
// a network port, the device's name below /dev with '-' for '/' ("pts-4"), the file name
// for another path.
QString PortFileStem(const QString& port);

}  // namespace kv::cli
