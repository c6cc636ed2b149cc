#include "modbus/SerialBusProbe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "modbus/AsciiFrame.h"
#include "modbus/LibmodbusExchange.h"
#include "modbus/ProbeLink.h"
#include "platform/OpenPort.h"
#include "platform/SocketWait.h"

namespace kv {
namespace {

// ':', 255 bytes as hexadecimal pairs, CR LF: an answer can be no longer.
constexpr int MaxAsciiFrame = 1 + 2 * 255 + 2;

char ParityLetter(LineParity parity) {
    return parity == LineParity::Even ? 'E' : parity == LineParity::Odd ? 'O' : 'N';
}

// A serial answer carries nothing that says which request it answers: after a time-out or a
// malformed answer, the late answer (or the rest) of that read could pass for the next one's.
// So the next read first waits out the bus's command time-out, discarding whatever arrives.
class SerialLink : public ProbeLink {
public:
    SerialLink(const SerialBusPlan& bus, const StopRequest& stop) : bus_(bus), stop_(stop) {}

    ReplyVerdict Exchange(const ProbeRead& read) final {
        if (outOfStep_ && !WaitOutLateAnswer()) return VerdictWithout(ProbeOutcome::Stopped, {});
        const ReplyVerdict verdict = ExchangeInStep(read);
        outOfStep_ = !LinkStillInStep(verdict);
        return verdict;
    }

protected:
    // One read on a quiet bus.
    virtual ReplyVerdict ExchangeInStep(const ProbeRead& read) = 0;
    // Waits up to `ms` for bytes and throws away what came.
    virtual void DiscardFor(std::chrono::milliseconds ms) = 0;

    const SerialBusPlan& bus_;
    const StopRequest& stop_;

private:
    // False when a stop came first.
    bool WaitOutLateAnswer() {
        const auto quietUntil =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(bus_.CmdTimeoutMs);
        for (;;) {
            if (stop_.Requested()) return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                quietUntil - std::chrono::steady_clock::now());
            if (left.count() <= 0) return true;
            DiscardFor(std::min(left, std::chrono::milliseconds(StopAskedEveryMs)));
        }
    }

    bool outOfStep_ = false;
};

class RtuLink final : public SerialLink {
public:
    using SerialLink::SerialLink;

    std::optional<ReplyVerdict> Open() override {
        const LineSettings& line = bus_.Line;
        context_.reset(modbus_new_rtu(bus_.Device.toLocal8Bit().constData(), int(line.BaudRate),
                                      ParityLetter(line.Parity), line.DataBits,
                                      line.StopBits == LineStopBits::Two ? 2 : 1));
        if (context_ && modbus_connect(context_.get()) == 0) return std::nullopt;
        const int error = errno;
        context_.reset();
        return VerdictWithout(
            ProbeOutcome::Unreachable,
            bus_.Device + QStringLiteral(": ") + QString::fromLocal8Bit(modbus_strerror(error)));
    }

    bool IsOpen() const override { return context_ != nullptr; }

private:
    ReplyVerdict ExchangeInStep(const ProbeRead& read) override {
        return ExchangeRead(context_.get(), ModbusFraming::Rtu, read, bus_.CmdTimeoutMs, stop_);
    }

    void DiscardFor(std::chrono::milliseconds ms) override {
        if (WaitForSocketBytes(modbus_get_socket(context_.get()), int(ms.count())) ==
            SocketWait::NotWaited)
            std::this_thread::sleep_for(ms);
        modbus_flush(context_.get());
    }

    LibmodbusContext context_;
};

class AsciiLink final : public SerialLink {
public:
    using SerialLink::SerialLink;

    std::optional<ReplyVerdict> Open() override {
        OpenedPort opened = OpenPort(PortChoice::Device(bus_.Device), bus_.Line);
        if (!opened.Result.ok()) {
            const QString reason = opened.Result.Text.isEmpty()
                                       ? QStringLiteral("the port does not open")
                                       : opened.Result.Text;
            return VerdictWithout(ProbeOutcome::Unreachable,
                                  bus_.Device + QStringLiteral(": ") + reason);
        }
        port_ = std::move(opened.Port);
        return std::nullopt;
    }

    bool IsOpen() const override { return port_ != nullptr; }

private:
    ReplyVerdict ExchangeInStep(const ProbeRead& read) override {
        port_->ClearReceiveBuffer();  // what came late for an earlier read
        port_->Write(AsciiFrame(char(read.Unit) + ReadRequestPdu(read)));
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(bus_.CmdTimeoutMs);
        QByteArray received;
        for (;;) {
            const qsizetype colon = received.indexOf(':');
            const qsizetype end = colon < 0 ? -1 : received.indexOf("\r\n", colon);
            if (end >= 0) return Judged(read, received.mid(colon, end + 2 - colon));
            if (received.size() > MaxAsciiFrame)
                return VerdictWithout(ProbeOutcome::Malformed,
                                      QStringLiteral("%1 characters without a whole ASCII frame")
                                          .arg(received.size()));
            if (stop_.Requested()) return VerdictWithout(ProbeOutcome::Stopped, {});
            if (!port_->LostReason().isEmpty())
                return VerdictWithout(ProbeOutcome::Unreachable, port_->LostReason());
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return NoAnswerWithin(bus_.CmdTimeoutMs);
            port_->WaitForData(std::min(left, std::chrono::milliseconds(StopAskedEveryMs)));
            received += port_->ReadAll();
        }
    }

    void DiscardFor(std::chrono::milliseconds ms) override {
        port_->WaitForData(ms);
        port_->ReadAll();
    }

    static ReplyVerdict Judged(const ProbeRead& read, QByteArrayView frame) {
        const AsciiMessage message = AsciiMessageOf(frame);
        if (!message.Failure.isEmpty())
            return VerdictWithout(ProbeOutcome::Malformed, message.Failure);
        return CheckSerialReply(read, message.Message);
    }

    std::unique_ptr<SerialPort> port_;
};

}  // namespace

QList<ProbeResult> ProbeSerialBus(const SerialBusPlan& bus, const StopRequest& stop,
                                  const CommandProbed& probed) {
    if (bus.Ascii) {
        AsciiLink link(bus, stop);
        return ProbeCommands(bus.Commands, link, probed);
    }
    RtuLink link(bus, stop);
    return ProbeCommands(bus.Commands, link, probed);
}

}  // namespace kv
