#pragma once
// The port a console link talks through: aimed at COM n by the user's choice, opened on what
// the name stands for when it opens (RoutedSerialPort.h), with what is kept with that port.
// Tests wire an in-process port to the emulator.

#include "platform/SerialPort.h"

namespace kv {

class AimedPort : public SerialPort {
public:
    // COM n, 1..16 (resolved when the port opens, OpenPort.h).
    virtual void SelectPort(int number) = 0;
    virtual int SelectedPort() const = 0;
    // The user's reply time-out kept with the port that opened (its assignment) in
    // milliseconds, in place of the console's 200 ms; 0 when there is none.
    virtual int ReplyTimeoutMs() const { return 0; }
};

}  // namespace kv
