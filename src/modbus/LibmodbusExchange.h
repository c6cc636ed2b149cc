#pragma once
// One read on an open libmodbus context. The request goes out with libmodbus's raw call
// and its answer is taken whole with the raw receive, so that ReplyCheck, not the library,
// judges it and names what is wrong. Waits ask the stop request every tenth of a second.

#include <modbus/modbus.h>

#include <memory>

#include "console/StopRequest.h"
#include "modbus/ReplyCheck.h"

namespace kv {

enum class ModbusFraming { Tcp, Rtu };

struct LibmodbusContextDeleter {
    void operator()(modbus_t* context) const {
        modbus_close(context);
        modbus_free(context);
    }
};
// A libmodbus context, closed and freed when it goes.
using LibmodbusContext = std::unique_ptr<modbus_t, LibmodbusContextDeleter>;

// Sends `read` and waits up to `timeoutMs` for its answer. Timeout, Stopped and
// Unreachable (the request could not be sent) come from here; the rest from ReplyCheck.
// A raw request of libmodbus always carries transaction ID 0.
ReplyVerdict ExchangeRead(modbus_t* context, ModbusFraming framing, const ProbeRead& read,
                          int timeoutMs, const StopRequest& stop);

// The verdict when an answer could not be received (errno, or a libmodbus code): a time-out,
// a connection closed mid-answer or an answer libmodbus refused (malformed), or a link the
// system says failed (unreachable, in the system's words).
ReplyVerdict ReceiveFailure(int error, int timeoutMs);

// Whether a connection can carry the next read after this verdict: not after a time-out
// or a malformed answer, whose rest (or late answer) could be taken for the next one's.
bool LinkStillInStep(const ReplyVerdict& verdict);

}  // namespace kv
