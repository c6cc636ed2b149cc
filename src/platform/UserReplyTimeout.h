#pragma once
// A reply time-out the user gives in place of the console's own: --reply-timeout on the
// command line, or kept with a port's assignment. One range for both, so that a time-out the
// command line refuses cannot come in through the assignments file (a wait of days that no
// signal ends).

#include <QString>
#include <optional>

namespace kv {

inline constexpr int MinUserReplyTimeoutMs = 1;
inline constexpr int MaxUserReplyTimeoutMs = 60000;

// The time-out `text` gives in milliseconds; nothing when it is no whole number in the range.
std::optional<int> UserReplyTimeoutIn(const QString& text);
// "milliseconds 1..60000", for messages and help texts.
QString UserReplyTimeoutRange();

}  // namespace kv
