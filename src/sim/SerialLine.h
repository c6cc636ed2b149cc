#pragma once
// One direction of the serial line between the PC and the gateway: characters leave one
// after another and each takes one character time on the wire (10 bits at 115200 bit/s).
// Times are nanoseconds on whatever clock the owner uses, real or simulated.

#include <QByteArray>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

namespace kv::sim {

inline constexpr std::chrono::nanoseconds CharacterTime{86806};

class SerialLine {
public:
    struct TimedByte {
        uint64_t AtNs;  // when it reaches the far end
        char Byte;
    };

    // A line with no character time delivers at once (except endless blanks, which
    // always keep the real pace).
    explicit SerialLine(std::chrono::nanoseconds characterTime = CharacterTime);

    // `bytes` are ready to go at readyNs; they follow whatever is still on the line.
    void Send(const QByteArray& bytes, uint64_t readyNs);
    // Once the line has carried what is queued, blanks follow for ever.
    void SendBlanksForever() { endlessBlanks_ = true; }

    int ArrivedBy(uint64_t nowNs);
    QByteArray TakeArrived(uint64_t nowNs);
    // The next byte that has arrived by nowNs, with its arrival time.
    std::optional<TimedByte> TakeNext(uint64_t nowNs);
    void DropArrived(uint64_t nowNs) { TakeArrived(nowNs); }
    // The line is cut: everything in flight is lost and blanks stop.
    void Clear();
    // When the next byte arrives, if any is coming.
    std::optional<uint64_t> NextArrivalNs() const;

    // The far end holds at most this many arrived bytes; further blanks are lost.
    static constexpr int ReceiveBufferBytes = 4096;

private:
    void TopUpBlanks(uint64_t nowNs);
    uint64_t BlankTimeNs() const;

    std::chrono::nanoseconds characterTime_;
    std::deque<TimedByte> queue_;
    uint64_t freeNs_ = 0;  // when the last queued byte arrives
    bool endlessBlanks_ = false;
};

}  // namespace kv::sim
