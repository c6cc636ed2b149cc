#pragma once
// How "COM n" (1..16) maps to a device. On Windows COM n is the system port COMn.
// Elsewhere, in this order: the user's own assignment, kept in the configuration folder
// (`kv9052r-cli ports --assign`), a link named COMn in the user's port folder (the virtual
// gateway publishes itself there), otherwise the n-th serial port present, USB adapters
// (ttyUSB, ttyACM) before built-in ports, each group by name.
//
// An assignment or a link takes over its own number only: the serial ports present keep their
// numbers whatever links exist, so starting the virtual gateway on COM 1 never moves a USB adapter
// from COM 2 to COM 3 (the port counted as COM 1 is hidden while the link is there). A link whose
// target is gone, or is no device, is ignored.

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/PortAssignments.h"

namespace kv {

inline constexpr int ComPortCount = 16;

constexpr bool IsComNumber(int number) { return number >= 1 && number <= ComPortCount; }

// Where COM n was found. BrokenLink: a port folder link that leads to no device;
// UnreadableAssignments: the assignments file exists but cannot be read; RefusedAssignment: a
// line of COM n's in it fails the checks `ports --assign` makes. None of these ports opens.
// NetworkAssignment: assigned a serial port server's address (NetworkAddress.h).
enum class ComSource {
    None,
    Assignment,
    NetworkAssignment,
    PortFolder,
    BrokenLink,
    UnreadableAssignments,
    RefusedAssignment,
    PortsPresent
};

struct ComPortEntry {
    int Number = 0;  // 1..16
    QString Device;  // system path or network address, empty when nothing is behind COM n
    ComSource Source = ComSource::None;
    QString Description;  // as the system describes the device, when it does
    QString Manufacturer;
    QString StableName;  // /dev/serial/by-id/... when the system gives one
    QString Refusal;     // for RefusedAssignment: the file, the line and what is wrong in it
};

// The user's port folder: $KV9052R_PORT_DIR, else $XDG_RUNTIME_DIR/kv9052r, else a
// folder of this user under the temporary folder.
QString PortFolder();
// Where the link for COM n lives in the port folder.
QString ComLinkPath(int number);
// The file of the user's assignments: kv9052r/ports.conf in the configuration folder
// ($XDG_CONFIG_HOME, else ~/.config).
QString AssignmentFile();
// Keeps COM n assigned to `device` (which must exist, or be a valid network address) until
// it is unassigned. False with the reason in `error` when it cannot.
// `replyTimeoutMs` (0: none) is kept with it and replaces the console's reply time-out
// on that port, as --reply-timeout does on the command line.
bool AssignComPort(int number, const QString& device, QString& error, int replyTimeoutMs = 0);
bool UnassignComPort(int number, QString& error);
// The device assigned to COM n as it was given, empty when none is or its lines are refused.
QString AssignedDevice(int number);
// "COM 3 (/dev/ttyUSB0)": COM n with what is behind it now, for messages; "COM 3" alone when
// nothing is.
QString ComPortText(int number);
// The COM number `device` is assigned to, in whatever spelling (PortIdentity.h); 0
// when none is.
int ComAssignedTo(const QString& device);
// COM n's assignment as its port opens it, with the reply time-out kept with it; a refusal
// names the file and the line, or says why the file cannot be read.
ComAssignment AssignmentOf(int number);

struct ComResolution {
    QString Device;
    ComSource Source = ComSource::None;
};
// The device behind COM n, empty when none is present.
QString ResolveComPort(int number);
// The same, with the serial ports present given in COM order (see SerialPortsInComOrder).
QString ResolveComPort(int number, const QStringList& portsInComOrder);
ComResolution ResolveComPortAndSource(int number, const QStringList& portsInComOrder);
// "assigned", "port folder link", "port present"; empty for None.
QString ComSourceText(ComSource source);
// COM 1..16 with the device behind each.
QList<ComPortEntry> ListComPorts();

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

// Device paths in COM order: USB adapters (ttyUSB, ttyACM) first, then the others; each
// group by name with numbers compared as numbers (ttyS2 before ttyS10).
QStringList SerialPortsInComOrder(QStringList devices);

}  // namespace kv
