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

// The one deadline of an exchange, from the request on.
class Deadline {
public:
    explicit Deadline(int ms)
        : at_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
    int LeftMs() const {
        return int(std::chrono::duration_cast<std::chrono::milliseconds>(
                       at_ - std::chrono::steady_clock::now())
                       .count());
    }
    int NextSliceMs() const { return std::min(LeftMs(), StopAskedEveryMs); }

private:
    std::chrono::steady_clock::time_point at_;
};

ReplyVerdict ClosedMidAnswer() {
    return VerdictWithout(ProbeOutcome::Malformed,
                          QStringLiteral("the connection closed before a whole answer came"));
}

// A Modbus TCP answer read by hand: its header up to the length field, then the unit ID and
// protocol data unit the length counts. libmodbus would restart its byte time-out with each
// chunk, so that a server sending a byte now and then could hold the probe, and a stop,
// without end; here one deadline bounds the whole answer.
ReplyVerdict ReceiveTcpAnswer(int socket, const ProbeRead& read, const Deadline& deadline,
                              int timeoutMs, const StopRequest& stop) {
    constexpr int LengthFieldEnd = 6;  // transaction ID, protocol ID, length
    constexpr int MaxCounted = 254;    // unit ID and the longest protocol data unit
    char answer[LengthFieldEnd + MaxCounted];
    int received = 0;
    int wanted = LengthFieldEnd;
    for (;;) {
        if (received == wanted) {
            const int counted = uint8_t(answer[4]) << 8 | uint8_t(answer[5]);
            if (wanted > LengthFieldEnd || counted == 0) break;  // CheckTcpReply names the latter
            if (counted > MaxCounted)
                return VerdictWithout(
                    ProbeOutcome::Malformed,
                    QStringLiteral("length field %1, longer than any answer").arg(counted));
            wanted += counted;
            continue;
        }
        if (stop.Requested()) return VerdictWithout(ProbeOutcome::Stopped, {});
        if (deadline.LeftMs() <= 0) return ReceiveFailure(ETIMEDOUT, timeoutMs);
        if (WaitForSocketBytes(socket, deadline.NextSliceMs()) != SocketWait::Readable) continue;
        const qint64 got = ReadWaitingSocketBytes(socket, answer + received, wanted - received);
        if (got == 0) return ClosedMidAnswer();
        if (got > 0)
            received += int(got);
        else if (errno != EAGAIN && errno != EINTR)
            return ReceiveFailure(errno, timeoutMs);
    }
    return CheckTcpReply(read, 0, QByteArrayView(answer, received));
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
    const Deadline deadline(timeoutMs);
    const int socket = modbus_get_socket(context);
    for (SocketWait wait = SocketWait::TimedOut; wait == SocketWait::TimedOut;) {
        if (stop.Requested()) return VerdictWithout(ProbeOutcome::Stopped, {});
        if (deadline.LeftMs() <= 0) return NoAnswerWithin(timeoutMs);
        wait = WaitForSocketBytes(socket, deadline.NextSliceMs());
        if (wait == SocketWait::Readable && framing == ModbusFraming::Tcp)
            return ReceiveTcpAnswer(socket, read, deadline, timeoutMs, stop);
    }
    // An RTU answer, or where the platform leaves the wait to libmodbus.
    SetTimeout(context, modbus_set_response_timeout, deadline.LeftMs());
    SetTimeout(context, modbus_set_byte_timeout, std::min(deadline.LeftMs(), MaxPauseInAnswerMs));
    uint8_t answer[MODBUS_MAX_ADU_LENGTH];
    const int length = modbus_receive_confirmation(context, answer);
    if (length < 0) return ReceiveFailure(errno, timeoutMs);
    // libmodbus's byte time-out starts again with each byte: an answer that took longer than
    // the command time-out came too late, however whole.
    if (deadline.LeftMs() < 0) return ReceiveFailure(ETIMEDOUT, timeoutMs);
    // libmodbus takes in an RTU answer from another unit but gives no length for it; its
    // unit ID is first.
    if (length == 0) return CheckSerialReply(read, QByteArrayView(answer, 2));
    const QByteArrayView bytes(answer, length);
    // libmodbus has checked an RTU answer's CRC and leaves it on.
    return framing == ModbusFraming::Tcp
               ? CheckTcpReply(read, 0, bytes)
               : CheckSerialReply(read, bytes.first(std::max(length - 2, 0)));
}

ReplyVerdict ReceiveFailure(int error, int timeoutMs) {
    if (error == ETIMEDOUT)
        return VerdictWithout(ProbeOutcome::Timeout,
                              QStringLiteral("no whole answer within %1 ms").arg(timeoutMs));
    if (error == ECONNRESET) return ClosedMidAnswer();
    // libmodbus's own codes say what is wrong with an answer; the system's say the link failed
    // (an adapter pulled out).
    return VerdictWithout(
        error >= MODBUS_ENOBASE ? ProbeOutcome::Malformed : ProbeOutcome::Unreachable,
        QString::fromLocal8Bit(modbus_strerror(error)));
}

bool LinkStillInStep(const ReplyVerdict& verdict) {
    return verdict.Outcome == ProbeOutcome::Ok || verdict.Outcome == ProbeOutcome::Exception;
}

}  // namespace kv
