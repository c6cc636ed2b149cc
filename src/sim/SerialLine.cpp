#include "sim/SerialLine.h"

#include <algorithm>

namespace kv::sim {

SerialLine::SerialLine(std::chrono::nanoseconds characterTime) : characterTime_(characterTime) {}

void SerialLine::Send(const QByteArray& bytes, uint64_t readyNs) {
    for (char byte : bytes) {
        freeNs_ = std::max(freeNs_, readyNs) + uint64_t(characterTime_.count());
        queue_.push_back({freeNs_, byte});
    }
}

uint64_t SerialLine::BlankTimeNs() const {
    return uint64_t(std::max(characterTime_, std::chrono::nanoseconds(CharacterTime)).count());
}

void SerialLine::TopUpBlanks(uint64_t nowNs) {
    const uint64_t blankNs = BlankTimeNs();
    if (!endlessBlanks_ || freeNs_ + blankNs > nowNs) return;
    const uint64_t due = (nowNs - freeNs_) / blankNs;
    const int arrived = static_cast<int>(
        std::find_if(queue_.begin(), queue_.end(),
                     [nowNs](const TimedByte& byte) { return byte.AtNs > nowNs; }) -
        queue_.begin());
    const uint64_t room = uint64_t(std::max(0, ReceiveBufferBytes - arrived));
    const uint64_t kept = std::min(due, room);
    // Blanks beyond the room are lost (an overrun); they took their time on the line.
    freeNs_ += (due - kept) * blankNs;
    for (uint64_t i = 0; i < kept; ++i) {
        freeNs_ += blankNs;
        queue_.push_back({freeNs_, ' '});
    }
}

int SerialLine::ArrivedBy(uint64_t nowNs) {
    TopUpBlanks(nowNs);
    const auto firstOnTheWay = std::find_if(
        queue_.begin(), queue_.end(), [nowNs](const TimedByte& byte) { return byte.AtNs > nowNs; });
    return static_cast<int>(firstOnTheWay - queue_.begin());
}

QByteArray SerialLine::TakeArrived(uint64_t nowNs) {
    const int count = ArrivedBy(nowNs);
    QByteArray bytes;
    bytes.reserve(count);
    for (int i = 0; i < count; ++i) {
        bytes.append(queue_.front().Byte);
        queue_.pop_front();
    }
    return bytes;
}

std::optional<SerialLine::TimedByte> SerialLine::TakeNext(uint64_t nowNs) {
    if (ArrivedBy(nowNs) == 0) return std::nullopt;
    const TimedByte next = queue_.front();
    queue_.pop_front();
    return next;
}

void SerialLine::Clear() {
    queue_.clear();
    endlessBlanks_ = false;
}

std::optional<uint64_t> SerialLine::NextArrivalNs() const {
    if (!queue_.empty()) return queue_.front().AtNs;
    if (endlessBlanks_) return freeNs_ + BlankTimeNs();
    return std::nullopt;
}

}  // namespace kv::sim
