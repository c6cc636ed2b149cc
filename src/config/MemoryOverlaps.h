#pragma once
// Where the commands of the editor's working copy lie in the gateway's internal memory
// (addresses 0..2047) and which of them share addresses. The editor accepts overlapping
// commands on purpose; this only makes them visible.

#include <QList>
#include <QString>

#include "config/GatewayConfig.h"

namespace kv {

inline constexpr int InternalMemorySize = 2048;

// The addresses one stored command occupies: MemAddress .. MemAddress + Length - 1, for
// bit and register commands alike.
struct CommandRange {
    int ClassIndex = 0;  // 0, 1 = COM1, COM2; 2..5 = Server 01 .. Server 04
    int Slot = 0;        // instance number - 1
    int First = 0;
    int Last = 0;
    bool ClassInUse = false;  // ConnMode (serial) or ConnValid (TCP) is not 0

    bool operator==(const CommandRange&) const = default;
};

// Two commands that share the addresses First..Last.
struct MemoryOverlap {
    CommandRange A;
    CommandRange B;
    int First = 0;
    int Last = 0;
};

struct MemoryLayout {
    QList<CommandRange> Ranges;     // class by class, slot by slot
    QList<MemoryOverlap> Overlaps;  // each pair once, in the order of Ranges
};

// The stored commands (slots 0 .. CmdCount-1) of EditSerialClasses and EditTcpClasses. A
// command without a positive length occupies nothing and is left out.
MemoryLayout FindMemoryLayout(const GatewayConfig& config);

// The editor's tab caption of a class: "COM1", "COM2", "Server 01", "Server02", ...
QString ClassCaption(int classIndex);
// "COM1 instance 2", with " (not in use)" when the class is switched off.
QString CommandName(const CommandRange& range);
// "100..115", or "100" for one address.
QString AddressRangeText(int first, int last);
// "COM1 instance 2 and Server 01 instance 1 share 100..115"
QString OverlapText(const MemoryOverlap& overlap);

// The line the editor shows under the command fields after storing slot `slot` of class
// `classIndex`: "Shares memory with COM2 instance 1 at 100..115." naming every command it
// shares addresses with; empty when it shares none.
QString OverlapNote(const GatewayConfig& config, int classIndex, int slot);

}  // namespace kv
