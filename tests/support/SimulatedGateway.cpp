#include "SimulatedGateway.h"

#include "sim/DemoImages.h"

#include <algorithm>

namespace kv::test {

namespace {

constexpr uint64_t CharacterNs = uint64_t(SimulatedGateway::CharacterTime.count());
// A PC's receive buffer overflows rather than growing without bound under endless blanks.
constexpr qsizetype ReceiveBufferBytes = 4096;

}  // namespace

PortOpenResult SimulatedPort::Open() {
    ++OpenCount;
    if (!NextOpenResult.ok())
        return std::exchange(NextOpenResult, PortOpenResult{});
    if (!gateway_.IsPlugged())
        return {PortOpenError::NotOpened, {}};
    if (!open_) {
        // What arrived while the port was closed is lost.
        gateway_.CatchUp();
        gateway_.DropArrivedAtPc();
        open_ = true;
    }
    return {};
}

void SimulatedPort::ClearReceiveBuffer() {
    gateway_.CatchUp();
    gateway_.DropArrivedAtPc();
}

int SimulatedPort::BytesWaiting() {
    if (!open_)
        return 0;
    gateway_.CatchUp();
    return gateway_.ArrivedAtPc();
}

QByteArray SimulatedPort::ReadAll() {
    if (!open_)
        return {};
    gateway_.CatchUp();
    const int count = gateway_.ArrivedAtPc();
    QByteArray bytes;
    bytes.reserve(count);
    for (int i = 0; i < count; ++i) {
        bytes.append(gateway_.toPc_.front().Byte);
        gateway_.toPc_.pop_front();
    }
    return bytes;
}

int SimulatedPort::BytesToSend() { return open_ && TransmitStuck ? 1 : 0; }

void SimulatedPort::Write(const QByteArray& bytes) {
    if (open_)
        gateway_.SendToConsole(bytes);
}

void SimulatedPump::Yield(std::chrono::microseconds maxWait) {
    ++YieldCount;
    gateway_.Clock.Advance(std::max(maxWait, std::chrono::microseconds{1}));
    gateway_.CatchUp();
    if (EachYield)
        EachYield();
}

SimulatedGateway::SimulatedGateway(sim::ControllerModel model) : Console(model) {
    Console.Eeprom = sim::FactoryImage();
}

void SimulatedGateway::Unplug() {
    plugged_ = false;
    toConsole_.clear();
    toPc_.clear();
    endlessBlanks_ = false;
}

uint64_t SimulatedGateway::NowNs() { return Clock.Microseconds() * 1000; }

void SimulatedGateway::SendToConsole(const QByteArray& bytes) {
    if (!plugged_)
        return;
    CatchUp();
    for (char byte : bytes) {
        toConsoleFreeNs_ = std::max(toConsoleFreeNs_, NowNs()) + CharacterNs;
        toConsole_.push_back({toConsoleFreeNs_, byte});
    }
}

void SimulatedGateway::SendToPc(const QByteArray& bytes, uint64_t fromNs) {
    for (char byte : bytes) {
        toPcFreeNs_ = std::max(toPcFreeNs_, fromNs) + CharacterNs;
        toPc_.push_back({toPcFreeNs_, byte});
    }
}

void SimulatedGateway::CatchUp() {
    const uint64_t now = NowNs();
    while (!toConsole_.empty() && toConsole_.front().AtNs <= now) {
        const TimedByte received = toConsole_.front();
        toConsole_.pop_front();
        const sim::ConsoleOutput output = Console.Receive(received.Byte);
        SendToPc(output.Echo, received.AtNs);
        const uint64_t latencyNs = uint64_t(Console.Latency.count()) * 1000;
        SendToPc(output.Answer, received.AtNs + latencyNs);
        endlessBlanks_ = endlessBlanks_ || output.EndlessBlanks;
    }
    if (endlessBlanks_)
        TopUpEndlessBlanks(now);
}

void SimulatedGateway::TopUpEndlessBlanks(uint64_t untilNs) {
    if (toPcFreeNs_ + CharacterNs > untilNs)
        return;
    const uint64_t due = (untilNs - toPcFreeNs_) / CharacterNs;
    const uint64_t room = uint64_t(std::max<qsizetype>(0, ReceiveBufferBytes - ArrivedAtPc()));
    const uint64_t kept = std::min(due, room);
    // Blanks beyond the room are lost (an overrun); the line stays busy all the same.
    const uint64_t lostNs = (due - kept) * CharacterNs;
    toPcFreeNs_ += lostNs;
    SendToPc(QByteArray(qsizetype(kept), ' '), toPcFreeNs_);
}

int SimulatedGateway::ArrivedAtPc() {
    const uint64_t now = NowNs();
    const auto firstDue = std::find_if(toPc_.begin(), toPc_.end(),
                                       [now](const TimedByte& byte) { return byte.AtNs > now; });
    return static_cast<int>(firstDue - toPc_.begin());
}

void SimulatedGateway::DropArrivedAtPc() {
    for (int count = ArrivedAtPc(); count > 0; --count)
        toPc_.pop_front();
}

}  // namespace kv::test
