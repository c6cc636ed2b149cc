#pragma once
// What went over the wire: every command line sent and every chunk received, with the
// time since the first event, so that a misbehaving console can be looked at afterwards.
// The events are kept raw and packed (their bytes in one buffer) and turned into text only
// when someone asks: most operations end without anyone looking at their trace, and many
// ports may be traced at once.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace kv {

// Control characters as the console writes them in C ("\r", "\n", "\x1b"), backslash doubled.
QString EscapedConsoleText(QByteArrayView bytes);

class ConsoleTrace {
public:
    void Sent(uint64_t nowUs, QByteArrayView line);
    void Received(uint64_t nowUs, QByteArrayView chunk);
    void Clear();
    bool IsEmpty() const { return events_.empty(); }
    // Whether lines went out and not a byte came back: a gateway that is off, unplugged or
    // on another port.
    bool HeardNothing() const;

    // One line per event: milliseconds since the first, "->" or "<-", the escaped text.
    QString Text() const;
    // The last command sent and what came back after it, in one line.
    QString LastExchange() const;

private:
    struct Event {
        uint64_t Us;
        uint32_t End;  // where its bytes end in bytes_; they start where the previous event's end
        bool Out;
    };
    void Add(uint64_t nowUs, QByteArrayView bytes, bool out);
    QByteArrayView BytesOf(size_t index) const;

    std::vector<Event> events_;
    QByteArray bytes_;  // the bytes of every event, one after another
};

}  // namespace kv
