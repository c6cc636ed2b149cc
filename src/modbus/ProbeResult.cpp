#include "modbus/ProbeResult.h"

namespace kv {

QString OutcomeWord(ProbeOutcome outcome) {
    switch (outcome) {
        case ProbeOutcome::Ok:
            return QStringLiteral("ok");
        case ProbeOutcome::Exception:
            return QStringLiteral("exception");
        case ProbeOutcome::Timeout:
            return QStringLiteral("timeout");
        case ProbeOutcome::Unreachable:
            return QStringLiteral("unreachable");
        case ProbeOutcome::Malformed:
            return QStringLiteral("malformed");
        case ProbeOutcome::NotProbed:
            return QStringLiteral("not probed");
        case ProbeOutcome::Stopped:
            return QStringLiteral("stopped");
    }
    return {};
}

QString ExceptionName(int code) {
    switch (code) {
        case 0x01:
            return QStringLiteral("Illegal Function");
        case 0x02:
            return QStringLiteral("Illegal Data Address");
        case 0x03:
            return QStringLiteral("Illegal Data Value");
        case 0x04:
            return QStringLiteral("Server Device Failure");
        case 0x06:
            return QStringLiteral("Server Device Busy");
        case 0x0A:
            return QStringLiteral("Gateway Path Unavailable");
        case 0x0B:
            return QStringLiteral("Gateway Target Device Failed to Respond");
        default:
            return {};
    }
}

}  // namespace kv
