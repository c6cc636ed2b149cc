#pragma once
// Why an operation's console exchanges ended at once. One operation has one end, set by
// whoever ended it (a stop signal or a Cancel button through the link's StopRequest, a device
// that went away, the operation's bound) and kept until the next operation begins.

#include <QString>

namespace kv {

enum class LinkEnd { None, Stopped, DeviceLost, OutOfTime };

struct LinkEndState {
    LinkEnd Kind = LinkEnd::None;
    QString Detail;  // the port's words for a lost device; empty otherwise
};

}  // namespace kv
