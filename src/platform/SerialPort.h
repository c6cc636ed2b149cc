#pragma once
// The PC serial port as a transport: a local device (QtSerialPort.h) or a serial port server
// on the network (NetworkSerialPort.h), made by OpenPort.h from what the user names. Which
// port it is and what is kept with it belongs to AimedPort.h.

#include <QByteArray>
#include <QString>
#include <chrono>

namespace kv {

enum class PortOpenError {
    None,       // the port is open
    InUse,      // another program holds the port
    NotOpened,  // no such device, or it did not open without saying why
    Other,      // the system refused; Text says why
};

struct PortOpenResult {
    PortOpenError Error = PortOpenError::None;
    QString Text;  // the system's description, for Other (and a hint how to fix it)
    // Text is a whole message in the program's words ("Can't reach the gateway at ..."),
    // not a reason to put after "Can't open COM n!".
    bool Worded = false;
    bool ok() const { return Error == PortOpenError::None; }
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the port with the line settings it was made with (LineSettings.h).
    virtual PortOpenResult Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void ClearReceiveBuffer() = 0;
    virtual int BytesWaiting() = 0;
    virtual QByteArray ReadAll() = 0;
    virtual int BytesToSend() = 0;
    virtual void Write(const QByteArray& bytes) = 0;
    // Blocks until bytes are waiting or `maxWait` has passed, whichever comes first.
    virtual void WaitForData(std::chrono::microseconds maxWait) = 0;
    // Why the device went away while the port was open (an adapter pulled out, a terminal
    // whose other end closed), in the system's words; empty while it is there. Cleared when
    // the port opens again.
    virtual QString LostReason() const { return {}; }
    // How long a byte takes there and back beyond the line itself, measured when the port
    // opened: nothing for a local port, the network's share for a port reached over it.
    virtual std::chrono::milliseconds RoundTrip() const { return {}; }
};

}  // namespace kv
