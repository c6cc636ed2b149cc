#pragma once
// Whether an answer is the answer to a read, and what it says. An answer that is to
// another transaction, unit or function, or holds less than was asked, is refused as
// malformed and what is wrong is named: a library's check would only say "invalid data".

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>

#include "modbus/ProbeRead.h"
#include "modbus/ProbeResult.h"

namespace kv {

struct ReplyVerdict {
    ProbeOutcome Outcome = ProbeOutcome::Malformed;
    int ExceptionCode = 0;
    QList<int> Values;
    QString Detail;  // what is wrong with a malformed answer

    bool operator==(const ReplyVerdict&) const = default;
};

// A verdict without values: a time-out, a stop, a link that failed, a malformed answer.
inline ReplyVerdict VerdictWithout(ProbeOutcome outcome, const QString& detail = {}) {
    return {outcome, 0, {}, detail};
}

// No answer came within the command time-out.
inline ReplyVerdict NoAnswerWithin(int timeoutMs) {
    return VerdictWithout(ProbeOutcome::Timeout,
                          QStringLiteral("no answer within %1 ms").arg(timeoutMs));
}

// The answer's protocol data unit (function code and data) checked against `read`.
ReplyVerdict CheckReplyPdu(const ProbeRead& read, QByteArrayView pdu);

// A Modbus TCP answer: its header (transaction ID, protocol ID, length, unit ID), then its
// protocol data unit.
ReplyVerdict CheckTcpReply(const ProbeRead& read, uint16_t transaction, QByteArrayView adu);

// A serial answer with its checksum taken off: unit ID, then its protocol data unit.
ReplyVerdict CheckSerialReply(const ProbeRead& read, QByteArrayView frame);

}  // namespace kv
