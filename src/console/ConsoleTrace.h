#pragma once
// What went over the wire: every command line sent and every chunk received, with the
// time since the first event, so that a misbehaving console can be looked at afterwards.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace kv {

// Control characters as the console writes them in C ("\r", "\n", "\x1b"), backslash doubled.
QString EscapedConsoleText(const QByteArray& bytes);

class ConsoleTrace {
public:
    void Sent(uint64_t nowUs, const QByteArray& line);
    void Received(uint64_t nowUs, const QByteArray& chunk);
    void Clear() { events_.clear(); }
    bool IsEmpty() const { return events_.empty(); }

    // One line per event: milliseconds since the first, "->" or "<-", the escaped text.
    QString Text() const;
    // The last command sent and what came back after it, in one line.
    QString LastExchange() const;

private:
    struct Event {
        uint64_t Us;
        bool Out;
        QByteArray Bytes;
    };
    std::vector<Event> events_;
};

}  // namespace kv
