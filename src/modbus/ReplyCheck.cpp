#include "modbus/ReplyCheck.h"

#include "config/FunctionCodes.h"
#include "config/NumberText.h"

namespace kv {
namespace {

constexpr int TcpHeaderBytes = 7;  // transaction ID, protocol ID, length, unit ID
constexpr uint8_t ExceptionFlag = 0x80;

int BigEndian16(QByteArrayView bytes, qsizetype at) {
    return uint8_t(bytes[at]) << 8 | uint8_t(bytes[at + 1]);
}

ReplyVerdict Refused(const QString& detail) {
    return VerdictWithout(ProbeOutcome::Malformed, detail);
}

QList<int> BitsOf(QByteArrayView data, int count) {
    QList<int> bits;
    for (int i = 0; i < count; ++i) bits.append(uint8_t(data[i / 8]) >> (i % 8) & 1);
    return bits;
}

QList<int> RegistersOf(QByteArrayView data) {
    QList<int> registers;
    for (qsizetype at = 0; at + 1 < data.size(); at += 2) registers.append(BigEndian16(data, at));
    return registers;
}

// The data of a normal answer: a byte count, then the bytes the read asked for.
ReplyVerdict DataOf(const ProbeRead& read, QByteArrayView pdu) {
    if (pdu.size() < 2) return Refused(QStringLiteral("answer without its byte count"));
    const int byteCount = uint8_t(pdu[1]);
    const QByteArrayView data = pdu.sliced(2);
    if (data.size() != byteCount)
        return Refused(QStringLiteral("byte count %1, but %2 bytes follow it")
                           .arg(byteCount)
                           .arg(data.size()));
    const bool bits = IsBitCode(read.Function);
    const int asked = CommandDataBytes(read.Function, read.Count);
    if (byteCount != asked)
        return Refused(bits ? QStringLiteral("%1 for %2 bits, which take %3")
                                  .arg(CountText(byteCount, "data byte"))
                                  .arg(read.Count)
                                  .arg(asked)
                            : QStringLiteral("%1 of the %2 registers asked")
                                  .arg(byteCount / 2.0)
                                  .arg(read.Count));
    return {ProbeOutcome::Ok, 0, bits ? BitsOf(data, read.Count) : RegistersOf(data), {}};
}

}  // namespace

ReplyVerdict CheckReplyPdu(const ProbeRead& read, QByteArrayView pdu) {
    if (pdu.isEmpty()) return Refused(QStringLiteral("answer without a function code"));
    const int function = uint8_t(pdu[0]);
    if (function == (read.Function | ExceptionFlag)) {
        if (pdu.size() != 2)
            return Refused(
                QStringLiteral("exception answer of %1, not 2").arg(CountText(pdu.size(), "byte")));
        return {ProbeOutcome::Exception, uint8_t(pdu[1]), {}, {}};
    }
    if (function != read.Function)
        return Refused(
            QStringLiteral("answer to function %1, not %2")
                .arg(HexByteText(uint8_t(function & ~ExceptionFlag)), HexByteText(read.Function)));
    return DataOf(read, pdu);
}

ReplyVerdict CheckTcpReply(const ProbeRead& read, uint16_t transaction, QByteArrayView adu) {
    if (adu.size() < TcpHeaderBytes + 1)
        return Refused(QStringLiteral("answer of %1 bytes, shorter than a header").arg(adu.size()));
    // Another protocol answering on the port shows first as a protocol ID other than Modbus's.
    if (const int protocol = BigEndian16(adu, 2); protocol != 0)
        return Refused(QStringLiteral("protocol ID %1, not 0 (Modbus)").arg(protocol));
    if (const int answered = BigEndian16(adu, 0); answered != transaction)
        return Refused(QStringLiteral("transaction ID %1, not %2").arg(answered).arg(transaction));
    if (const int length = BigEndian16(adu, 4); length != adu.size() - 6)
        return Refused(QStringLiteral("length field %1, but %2 bytes follow it")
                           .arg(length)
                           .arg(adu.size() - 6));
    return CheckSerialReply(read, adu.sliced(TcpHeaderBytes - 1));
}

ReplyVerdict CheckSerialReply(const ProbeRead& read, QByteArrayView frame) {
    if (frame.size() < 2) return Refused(QStringLiteral("answer of %1 bytes").arg(frame.size()));
    if (const int unit = uint8_t(frame[0]); unit != read.Unit)
        return Refused(QStringLiteral("unit ID %1, not %2").arg(unit).arg(read.Unit));
    return CheckReplyPdu(read, frame.sliced(1));
}

}  // namespace kv
