#include "modbus/TcpServerProbe.h"

#include <modbus/modbus.h>

#include <cerrno>
#include <memory>

#include "modbus/LibmodbusExchange.h"
#include "platform/TcpConnect.h"

namespace kv {
namespace {

struct ContextDeleter {
    void operator()(modbus_t* context) const {
        modbus_close(context);
        modbus_free(context);
    }
};
using Context = std::unique_ptr<modbus_t, ContextDeleter>;

struct Connected {
    Context Link;
    ReplyVerdict Failure;  // when there is no link
};

Connected Connect(const TcpServerPlan& server, const StopRequest& stop) {
    const auto Failed = [](ProbeOutcome outcome, const QString& detail) {
        return Connected{nullptr, {outcome, 0, {}, detail}};
    };
    Context context(modbus_new_tcp_pi(server.Address.Host.toLocal8Bit().constData(),
                                      QByteArray::number(server.Address.Port).constData()));
    if (!context)
        return Failed(ProbeOutcome::Unreachable, QString::fromLocal8Bit(modbus_strerror(errno)));
    if (const std::optional<TcpConnection> made =
            ConnectTcp(server.Address.Host, server.Address.Port, server.ConnTimeoutMs, stop)) {
        if (made->Stopped) return Failed(ProbeOutcome::Stopped, {});
        if (made->Descriptor < 0) return Failed(ProbeOutcome::Unreachable, made->Failure);
        modbus_set_socket(context.get(), made->Descriptor);
        return {std::move(context), {}};
    }
    modbus_set_response_timeout(context.get(), uint32_t(server.ConnTimeoutMs / 1000),
                                uint32_t(server.ConnTimeoutMs % 1000) * 1000);
    if (modbus_connect(context.get()) < 0)
        return Failed(ProbeOutcome::Unreachable, QString::fromLocal8Bit(modbus_strerror(errno)));
    return {std::move(context), {}};
}

void Take(ProbeResult& result, const ReplyVerdict& verdict) {
    result.Outcome = verdict.Outcome;
    result.ExceptionCode = verdict.ExceptionCode;
    result.Values = verdict.Values;
    result.Detail = verdict.Detail;
}

}  // namespace

QList<ProbeResult> ProbeTcpServer(const TcpServerPlan& server, const StopRequest& stop) {
    QList<ProbeResult> results;
    Connected connection;
    // Once the server cannot be reached, or a stop came, what every later command gets.
    std::optional<ReplyVerdict> rest;
    for (const PlannedProbe& command : server.Commands) {
        ProbeResult& result = results.emplace_back(command.Result);
        if (!command.Read) continue;
        if (rest) {
            Take(result, *rest);
            continue;
        }
        if (!connection.Link) connection = Connect(server, stop);
        if (!connection.Link) {
            Take(result, connection.Failure);
            rest = connection.Failure;
            continue;
        }
        const ReplyVerdict verdict = ExchangeRead(connection.Link.get(), ModbusFraming::Tcp,
                                                  *command.Read, server.CmdTimeoutMs, stop);
        Take(result, verdict);
        if (verdict.Outcome == ProbeOutcome::Stopped) rest = verdict;
        if (!LinkStillInStep(verdict)) connection.Link.reset();
    }
    return results;
}

}  // namespace kv
