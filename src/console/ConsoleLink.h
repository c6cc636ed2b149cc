#pragma once
// The exchange of command lines and replies with the controller's text console. This is
// the only code that touches the port during an exchange.

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>

#include "console/ConsoleTrace.h"
#include "console/LinkEnd.h"
#include "console/StopRequest.h"
#include "platform/AimedPort.h"
#include "platform/Clock.h"

namespace kv {

// How long the console may take to answer a command line.
inline constexpr int16_t ConsoleReplyTimeoutMs = 200;

// Whether a line changes the gateway (a value in the EEPROM editor, an Ethernet setting) or
// only asks it something. An operation that ends early has changed the gateway only when a
// line of the first kind went out.
enum class LineKind { Asks, Changes };

class ConsoleLink {
public:
    ConsoleLink(AimedPort& port, Clock& clock);

    // Sends one command line and collects the reply until `terminator` is present and
    // the line is quiet. On success ReplyText holds the reply up to the terminator.
    bool SendCommand(const QString& command, const QString& terminator,
                     LineKind kind = LineKind::Asks);
    // The same, done at whichever of `terminators` comes first.
    bool SendCommand(const QString& command, const QStringList& terminators);

    // Sends one command line, waits for the edit prompt "-->" and reads the decimal
    // byte value that follows `key` (such as "B(16)="): one to three digits, 0..255, with
    // only blanks between them, the key and the prompt. Anything else fails as a time-out
    // does; `value` is untouched on failure.
    bool ReadConsoleByte(const QString& command, const QString& key, uint8_t& value,
                         LineKind kind = LineKind::Asks);

    AimedPort& Port() { return port_; }

    // Bounds the operation that starts now: every wait ends by `length` from now, and once
    // that has passed every exchange fails at once, so no port can hold an operation for
    // longer. Each operation sets its own bound, and starts with no change sent.
    void BoundOperation(std::chrono::milliseconds length);
    // Whether a line that changes the gateway went out since the link was made or the
    // operation's bound was set: an operation that failed after one has partly written it.
    bool ChangeSent() const { return changeSent_; }
    // Why exchanges failed at once when it was not the console's silence; None while they
    // go on. Cleared by BoundOperation.
    const LinkEndState& End() const { return end_; }

    QString ReplyText;
    // The time-out of the exchange at hand: the console's, or 50 ms for EEPROM blocks.
    int16_t ReplyTimeoutMs = ConsoleReplyTimeoutMs;
    // The user's time-out for a console reply in place of ConsoleReplyTimeoutMs; the others
    // keep their ratio to it. 0: the port's kept time-out, else the exchanges' own time-outs plus
    // the port's round trip.
    int UserReplyTimeoutMs = 0;
    // The time-out an exchange sets as `nominalMs` has on this link.
    int64_t ReplyTimeoutFor(int nominalMs) const;
    QString ControllerPrompt;
    // Every line sent and chunk received; the owner clears it for each operation.
    ConsoleTrace Trace;
    // Asked before each line is sent and while a reply is awaited: once it is set, no line
    // goes out, a reply wait ends within StopLookInterval, the call fails as on a time-out and
    // End() is Stopped. A line is never cut half-way: a console would take its first
    // characters for the start of the next operation's line. Null: the operation runs to its
    // end.
    const StopRequest* Stop = nullptr;

    // A console without input buffering needs a gap between characters; two character
    // times at 115200 bit/s are about 0.2 ms.
    static const std::chrono::microseconds CharacterPause;
    static const std::chrono::microseconds LinePause;
    // The longest a reply wait goes without asking Stop.
    static const std::chrono::microseconds StopLookInterval;

private:
    bool SendLine(const QString& command, LineKind kind);
    bool WaitForTransmitBuffer();
    void PauseUntil(uint64_t endUs);
    bool CollectReply(const QStringList& terminators, QString& reply);
    std::chrono::microseconds WaitLeft(uint32_t startMs);
    bool TimedOut(uint32_t startMs);
    bool Ended();
    uint64_t BoundEndUs() const;
    void AppendWaitingChunk(QString& reply);

    AimedPort& port_;
    Clock& clock_;
    // The operation's bound, stretched as the reply time-outs are once the port is open.
    uint64_t operationStartUs_ = 0;
    int64_t boundMs_ = -1;        // none
    uint64_t nextLineDueUs_ = 0;  // a line pause after the last line sent
    bool changeSent_ = false;
    LinkEndState end_;
};

// The bound of an operation of at most `exchanges` exchanges: each waits its time-out at
// most, plus the time its line takes to go out, which a busy machine stretches.
constexpr std::chrono::milliseconds ExchangesBound(int exchanges,
                                                   int timeoutMs = ConsoleReplyTimeoutMs) {
    return std::chrono::milliseconds(int64_t(exchanges) * (timeoutMs + 50) + 2000);
}

// Sets ReplyTimeoutMs for a scope and puts the earlier value back when it ends.
class ReplyTimeoutScope {
public:
    ReplyTimeoutScope(ConsoleLink& link, int16_t timeoutMs)
        : link_(link), saved_(link.ReplyTimeoutMs) {
        link.ReplyTimeoutMs = timeoutMs;
    }
    ~ReplyTimeoutScope() { link_.ReplyTimeoutMs = saved_; }
    ReplyTimeoutScope(const ReplyTimeoutScope&) = delete;
    ReplyTimeoutScope& operator=(const ReplyTimeoutScope&) = delete;

private:
    ConsoleLink& link_;
    int16_t saved_;
};

}  // namespace kv
