#include "modbus/LibmodbusExchange.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "modbus/ProbeLink.h"
#include "platform/SocketWait.h"

namespace kv {
namespace {

// Once an answer has begun, its bytes follow one another closely on any line; a pause this
// long inside it ends the wait, so that a stop is never held up by a half answer.
constexpr int MaxPauseInAnswerMs = 100;

void SetTimeout(modbus_t* context, int (*set)(modbus_t*, uint32_t, uint32_t), int ms) {
    ms = std::max(ms, 1);
    set(context, uint32_t(ms / 1000), uint32_t(ms % 1000) * 1000);
}

ReplyVerdict ReceiveFailure(int error, int timeoutMs) {
    if (error == ETIMEDOUT)
        return VerdictWithout(ProbeOutcome::Timeout,
                              QStringLiteral("no whole answer within %1 ms").arg(timeoutMs));
    if (error == ECONNRESET)
        return VerdictWithout(ProbeOutcome::Malformed,
                              QStringLiteral("the connection closed before a whole answer came"));
    return VerdictWithout(ProbeOutcome::Malformed, QString::fromLocal8Bit(modbus_strerror(error)));
}

}  // namespace

ReplyVerdict ExchangeRead(modbus_t* context, ModbusFraming framing, const ProbeRead& read,
                          int timeoutMs, const StopRequest& stop) {
    const QByteArray request = char(read.Unit) + ReadRequestPdu(read);
    modbus_set_slave(context, read.Unit);
    modbus_flush(context);  // what came late for an earlier read
    if (modbus_send_raw_request(context, reinterpret_cast<const uint8_t*>(request.constData()),
                                int(request.size())) < 0)
        return VerdictWithout(ProbeOutcome::Unreachable,
                              QString::fromLocal8Bit(modbus_strerror(errno)));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto left = [&deadline] {
        return int(std::chrono::duration_cast<std::chrono::milliseconds>(
                       deadline - std::chrono::steady_clock::now())
                       .count());
    };
    for (SocketWait wait = SocketWait::TimedOut; wait == SocketWait::TimedOut;) {
        if (stop.Requested()) return VerdictWithout(ProbeOutcome::Stopped, {});
        if (left() <= 0) return NoAnswerWithin(timeoutMs);
        wait = WaitForSocketBytes(modbus_get_socket(context), std::min(left(), StopAskedEveryMs));
    }
    SetTimeout(context, modbus_set_response_timeout, left());
    SetTimeout(context, modbus_set_byte_timeout, std::min(left(), MaxPauseInAnswerMs));
    uint8_t answer[MODBUS_MAX_ADU_LENGTH];
    const int length = modbus_receive_confirmation(context, answer);
    if (length < 0) return ReceiveFailure(errno, timeoutMs);
    // libmodbus takes in an RTU answer from another unit but gives no length for it; its
    // unit ID is first.
    if (length == 0) return CheckSerialReply(read, QByteArrayView(answer, 2));
    const QByteArrayView bytes(answer, length);
    // libmodbus has checked an RTU answer's CRC and leaves it on.
    return framing == ModbusFraming::Tcp
               ? CheckTcpReply(read, 0, bytes)
               : CheckSerialReply(read, bytes.first(std::max(length - 2, 0)));
}

bool LinkStillInStep(const ReplyVerdict& verdict) {
    return verdict.Outcome == ProbeOutcome::Ok || verdict.Outcome == ProbeOutcome::Exception;
}

}  // namespace kv
