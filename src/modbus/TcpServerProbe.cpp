#include "modbus/TcpServerProbe.h"

#include <modbus/modbus.h>

#include <cerrno>

#include "modbus/LibmodbusExchange.h"
#include "modbus/ProbeLink.h"
#include "platform/TcpConnect.h"

namespace kv {
namespace {

class TcpLink final : public ProbeLink {
public:
    TcpLink(const TcpServerPlan& server, const StopRequest& stop) : server_(server), stop_(stop) {}

    std::optional<ReplyVerdict> Open() override {
        context_.reset(modbus_new_tcp_pi(server_.Address.Host.toLocal8Bit().constData(),
                                         QByteArray::number(server_.Address.Port).constData()));
        if (!context_) return LibraryFailure();
        if (const std::optional<TcpConnection> made = ConnectTcp(
                server_.Address.Host, server_.Address.Port, server_.ConnTimeoutMs, stop_)) {
            if (made->Stopped) return VerdictWithout(ProbeOutcome::Stopped, {});
            if (made->Descriptor < 0)
                return VerdictWithout(ProbeOutcome::Unreachable, made->Failure);
            modbus_set_socket(context_.get(), made->Descriptor);
            return std::nullopt;
        }
        modbus_set_response_timeout(context_.get(), uint32_t(server_.ConnTimeoutMs / 1000),
                                    uint32_t(server_.ConnTimeoutMs % 1000) * 1000);
        if (modbus_connect(context_.get()) < 0) return LibraryFailure();
        return std::nullopt;
    }

    bool IsOpen() const override { return context_ != nullptr; }

    ReplyVerdict Exchange(const ProbeRead& read) override {
        const ReplyVerdict verdict =
            ExchangeRead(context_.get(), ModbusFraming::Tcp, read, server_.CmdTimeoutMs, stop_);
        // A raw request always carries transaction ID 0: a late answer on this connection
        // would pass for the next read's.
        if (!LinkStillInStep(verdict)) context_.reset();
        return verdict;
    }

private:
    ReplyVerdict LibraryFailure() {
        const int error = errno;
        context_.reset();
        return VerdictWithout(ProbeOutcome::Unreachable,
                              QString::fromLocal8Bit(modbus_strerror(error)));
    }

    const TcpServerPlan& server_;
    const StopRequest& stop_;
    LibmodbusContext context_;
};

}  // namespace

QList<ProbeResult> ProbeTcpServer(const TcpServerPlan& server, const StopRequest& stop,
                                  const CommandProbed& probed) {
    TcpLink link(server, stop);
    return ProbeCommands(server.Commands, link, probed);
}

}  // namespace kv
