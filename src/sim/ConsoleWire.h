#pragma once
// The controller console at the far end of its serial line: what the PC sends reaches the
// console a character time per byte later, and the console's echo and answers come back
// the same way, each answer after the console's latency.

#include <chrono>
#include <cstdint>
#include <optional>

#include "sim/ConsoleEmulator.h"
#include "sim/SerialLine.h"

namespace kv::sim {

class ConsoleWire {
public:
    explicit ConsoleWire(ConsoleEmulator& console,
                         std::chrono::nanoseconds characterTime = CharacterTime);

    void SendFromPc(const QByteArray& bytes, uint64_t nowNs);
    // Lets everything due by nowNs happen: characters reach the console, which echoes and
    // answers them.
    void CatchUp(uint64_t nowNs);
    // The console's side of the line, as the PC receives it.
    SerialLine& ToPc() { return toPc_; }
    // When something next happens on either side, if anything will.
    std::optional<uint64_t> NextEventNs() const;
    // The cable is pulled: everything on the way is lost.
    void Cut();

private:
    ConsoleEmulator& console_;
    SerialLine toConsole_;
    SerialLine toPc_;
};

}  // namespace kv::sim
