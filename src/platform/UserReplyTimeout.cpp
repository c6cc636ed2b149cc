#include "platform/UserReplyTimeout.h"

namespace kv {

std::optional<int> UserReplyTimeoutIn(const QString& text) {
    bool isNumber = false;
    const int ms = text.toInt(&isNumber);
    if (!isNumber || ms < MinUserReplyTimeoutMs || ms > MaxUserReplyTimeoutMs) return std::nullopt;
    return ms;
}

QString UserReplyTimeoutRange() {
    return QStringLiteral("milliseconds %1..%2")
        .arg(MinUserReplyTimeoutMs)
        .arg(MaxUserReplyTimeoutMs);
}

}  // namespace kv
