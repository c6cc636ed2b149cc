#include "SimulatedGateway.h"

#include <algorithm>
#include <utility>

#include "sim/DemoImages.h"

namespace kv::test {

PortOpenResult SimulatedPort::Open() {
    ++OpenCount;
    if (!NextOpenResult.ok()) return std::exchange(NextOpenResult, PortOpenResult{});
    if (!gateway_.IsPlugged()) return {PortOpenError::NotOpened, {}};
    lostReason_.clear();
    if (!open_) {
        // What arrived while the port was closed is lost.
        gateway_.CatchUp();
        gateway_.wire_.ToPc().DropArrived(gateway_.NowNs());
        open_ = true;
    }
    return {};
}

void SimulatedPort::ClearReceiveBuffer() {
    gateway_.CatchUp();
    gateway_.wire_.ToPc().DropArrived(gateway_.NowNs());
}

int SimulatedPort::BytesWaiting() {
    if (!open_) return 0;
    gateway_.CatchUp();
    return gateway_.wire_.ToPc().ArrivedBy(gateway_.NowNs());
}

QByteArray SimulatedPort::ReadAll() {
    if (!open_) return {};
    gateway_.CatchUp();
    return gateway_.wire_.ToPc().TakeArrived(gateway_.NowNs());
}

int SimulatedPort::BytesToSend() { return 0; }

void SimulatedPort::Write(const QByteArray& bytes) {
    if (!open_ || !gateway_.plugged_) return;
    gateway_.wire_.SendFromPc(bytes, gateway_.NowNs());
}

// From one event on the line to the next (a byte reaching the console may make it answer),
// letting the test act at each; the wait ends when bytes are waiting, when the device goes
// away (as a real port's wait does) or after maxWait. A port that is not open sleeps it all.
void SimulatedPort::WaitForData(std::chrono::microseconds maxWait) {
    const uint64_t endUs = gateway_.Clock.Microseconds() + uint64_t(maxWait.count());
    if (!open_) gateway_.Clock.Advance(maxWait);
    for (gateway_.CatchUp();; StepTowards(endUs)) {
        if (EachWait) EachWait();
        if (!open_ || BytesWaiting() > 0 || gateway_.Clock.Microseconds() >= endUs) return;
    }
}

void SimulatedPort::StepTowards(uint64_t endUs) {
    const uint64_t nowUs = gateway_.Clock.Microseconds();
    const std::optional<uint64_t> nextNs = gateway_.wire_.NextEventNs();
    const uint64_t nextUs = nextNs ? (*nextNs + 999) / 1000 : endUs;
    gateway_.Clock.Advance(std::chrono::microseconds(std::clamp(nextUs, nowUs + 1, endUs) - nowUs));
    gateway_.CatchUp();
}

SimulatedGateway::SimulatedGateway(sim::ControllerModel model) : Console(model) {
    Console.Eeprom = sim::FactoryImage();
}

void SimulatedGateway::Lose(const QString& reason) {
    Unplug();
    Port.open_ = false;
    Port.lostReason_ = reason;
}

void SimulatedGateway::Unplug() {
    plugged_ = false;
    wire_.Cut();
}

}  // namespace kv::test
