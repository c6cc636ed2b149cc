#pragma once
// Which program holds a serial port, as far as the system tells: the owner of the port's
// lock file ("LCK..ttyUSB0", written by QSerialPort and the uucp tradition), else the
// process holding a flock on the device (terminal programs such as picocom).

#include <QString>

namespace kv {

struct PortHolder {
    qint64 Pid = 0;   // 0: the system does not tell
    QString Program;  // its name, when known
};

// The live process that owns `device`'s lock file on this machine.
PortHolder LockFileHolder(const QString& device);

// The holder of `device` (a path, links followed): its lock file's owner, else the process
// holding a flock on it.
PortHolder FindPortHolder(const QString& device);

// "Held by picocom (process 4242).", for the line under "COM n has been occupied"; empty
// when the system does not tell.
QString PortHolderText(const QString& device);
// The same for the device behind COM n (PortNaming.h).
QString ComPortHolderText(int number);

}  // namespace kv
