#pragma once
// What probing one command from the PC found: the read that was sent for it and what came
// back, or why nothing did.

#include <QList>
#include <QString>

namespace kv {

enum class ProbeOutcome {
    Ok,           // the values came back
    Exception,    // the device refused the read with an exception code
    Timeout,      // no whole answer within the class's command time-out
    Unreachable,  // no connection (or no serial port) to the device
    Malformed,    // an answer that is not to this read: named in Detail
    NotProbed,    // not tried: Detail says why
    Stopped,      // a stop (Ctrl+C, Cancel) came first
};

struct ProbeResult {
    int ClassIndex = 0;    // 0 COM1, 1 COM2, 2..5 Server1..Server4 (ClassNames.h)
    int Instance = 0;      // the command's instance, from 1
    int FunctionCode = 0;  // as configured
    int ProbedWith = 0;    // the read sent in its place; 0 when none was
    QString Reference;     // "40001-40010"
    ProbeOutcome Outcome = ProbeOutcome::NotProbed;
    int ExceptionCode = 0;
    QList<int> Values;  // every coil (0/1) or register read
    QString Detail;     // the system's reason, what was wrong with an answer, why not probed
};

// "ok", "exception", "timeout", "unreachable", "malformed", "not probed", "stopped".
QString OutcomeWord(ProbeOutcome outcome);

// "Illegal Data Address" for 2; empty for a code Modbus does not name.
QString ExceptionName(int code);

// Whether the outcome is a finding (anything but ok; not probing is none).
constexpr bool IsFinding(ProbeOutcome outcome) {
    return outcome != ProbeOutcome::Ok && outcome != ProbeOutcome::NotProbed;
}

}  // namespace kv
