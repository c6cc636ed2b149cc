#pragma once
// Reading and writing an open serial device's descriptor with the system's own calls. A
// session reads many short replies: going through a buffered device object costs a look at
// the device for every count asked and copies for every read, and for many ports at once
// that is most of the program's time. Here a look is one read(), a wait is one poll(), and
// the pieces of a reply gather in one buffer until they are taken. POSIX systems only.

#include <QByteArray>
#include <QString>
#include <chrono>

namespace kv {

class TerminalIo {
public:
    // Uses `descriptor` (non-blocking, owned by the caller) from now on; forgets any bytes
    // and any failure of the one before.
    void Attach(int descriptor);
    void Detach() { Attach(-1); }
    bool IsAttached() const { return descriptor_ >= 0; }

    // Takes in what has arrived, without waiting.
    void Pull();
    // What has been taken in and not handed out; after a Pull, all that has arrived.
    qsizetype Received() const { return received_.size(); }
    // What has been taken in, handed out once.
    QByteArray Take();
    // Throws away what arrived and was not handed out, in the system's buffer too.
    void DropInput();
    // Blocks until bytes have arrived, the device fails or `maxWait` has passed; the bytes
    // are taken in at once.
    void Wait(std::chrono::microseconds maxWait);

    // Sends `bytes`, after any the device did not take before.
    void Write(QByteArrayView bytes);
    // Sends what the device did not take before; returns how much it still has not.
    qsizetype Unsent();

    // The system's words for why the device failed (it went away), empty while it works.
    const QString& Failure() const { return failure_; }

private:
    void Fail(int error);

    int descriptor_ = -1;
    QByteArray received_;
    QByteArray unsent_;
    QString failure_;
};

}  // namespace kv
