#pragma once
// A virtual gateway in the test's own process: the console emulator behind an AimedPort,
// with a fake clock that advances while the link sleeps or waits. Bytes cross the line at 115200
// bit/s in simulated time (one character every 86.8 microseconds, each way) and every answer starts
// after the console's latency, so time-outs are tested without sleeping.

#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>

#include "FakeClock.h"
#include "platform/AimedPort.h"
#include "sim/ConsoleEmulator.h"
#include "sim/ConsoleWire.h"

namespace kv::test {

class SimulatedGateway;

class SimulatedPort : public AimedPort {
public:
    explicit SimulatedPort(SimulatedGateway& gateway) : gateway_(gateway) {}
    void SelectPort(int number) override { selected_ = number; }
    int SelectedPort() const override { return selected_; }
    PortOpenResult Open() override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void ClearReceiveBuffer() override;
    int BytesWaiting() override;
    QByteArray ReadAll() override;
    int BytesToSend() override;
    void Write(const QByteArray& bytes) override;
    // Advances simulated time until a byte arrives, the device goes away or maxWait has
    // passed, running `EachWait` at each event on the line.
    void WaitForData(std::chrono::microseconds maxWait) override;
    QString LostReason() const override { return lostReason_; }

    std::function<void()> EachWait;  // lets a test act in the middle of an exchange
    // How the next Open() fails (once), for tests of the port error paths.
    PortOpenResult NextOpenResult;
    int OpenCount = 0;

private:
    friend class SimulatedGateway;
    void StepTowards(uint64_t endUs);
    SimulatedGateway& gateway_;
    int selected_ = 1;
    bool open_ = false;
    QString lostReason_;
};

class SimulatedGateway {
public:
    // The gateway holds the factory EEPROM image and factory Ethernet settings.
    explicit SimulatedGateway(sim::ControllerModel model = sim::ControllerModel::Q5308RT);

    FakeClock Clock;
    sim::ConsoleEmulator Console;  // holds the EEPROM image, the latency and the faults
    SimulatedPort Port{*this};

    // Every command line the emulator received, in order (without the carriage return).
    QStringList LinesReceived() const { return Console.ReceivedLines(); }

    // The cable is pulled: from now on nothing arrives, writes vanish and Open() fails.
    void Unplug();
    // The device goes away while the port is open, as a port reports it: closed, `reason`.
    void Lose(const QString& reason);
    bool IsPlugged() const { return plugged_; }

private:
    friend class SimulatedPort;

    uint64_t NowNs() { return Clock.Microseconds() * 1000; }
    // Lets everything whose time has come happen.
    void CatchUp() { wire_.CatchUp(NowNs()); }

    bool plugged_ = true;
    sim::ConsoleWire wire_{Console};
};

}  // namespace kv::test
