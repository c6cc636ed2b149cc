#include "sim/ConsoleWire.h"

#include <algorithm>

namespace kv::sim {

ConsoleWire::ConsoleWire(ConsoleEmulator& console, std::chrono::nanoseconds characterTime)
    : console_(console), toConsole_(characterTime), toPc_(characterTime) {}

void ConsoleWire::SendFromPc(const QByteArray& bytes, uint64_t nowNs) {
    CatchUp(nowNs);
    toConsole_.Send(bytes, nowNs);
}

void ConsoleWire::CatchUp(uint64_t nowNs) {
    const uint64_t latencyNs =
        uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(console_.Latency).count());
    while (const auto received = toConsole_.TakeNext(nowNs)) {
        const ConsoleOutput output = console_.Receive(received->Byte);
        toPc_.Send(output.Echo, received->AtNs);
        toPc_.Send(output.Answer, received->AtNs + latencyNs);
        if (output.EndlessBlanks) toPc_.SendBlanksForever();
    }
}

std::optional<uint64_t> ConsoleWire::NextEventNs() const {
    const std::optional<uint64_t> toConsole = toConsole_.NextArrivalNs();
    const std::optional<uint64_t> toPc = toPc_.NextArrivalNs();
    if (toConsole && toPc) return std::min(*toConsole, *toPc);
    return toConsole ? toConsole : toPc;
}

void ConsoleWire::Cut() {
    toConsole_.Clear();
    toPc_.Clear();
}

}  // namespace kv::sim
