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

void SimulatedPort::WaitForData(std::chrono::microseconds maxWait) {
    gateway_.Clock.Advance(maxWait);
    gateway_.CatchUp();
    if (EachWait) EachWait();
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
