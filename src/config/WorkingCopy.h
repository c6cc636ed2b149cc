#pragma once
// The application object editor's working copy of the class records (EditSerialClasses,
// EditTcpClasses) and the instance operations on one class. A class is addressed by its
// class index: 0, 1 = the serial classes 0x65, 0x66; 2..5 = the TCP connections 0x67..0x6A.
// Commands of a class always occupy slots 0..CmdCount-1 without gaps.

#include <QString>
#include <cstdint>
#include <span>

#include "config/CommandChecks.h"
#include "config/GatewayConfig.h"
#include "config/GatewayFacts.h"

namespace kv {

inline constexpr int ClassIndexCount = SerialClassCount + TcpClassCount;

constexpr bool IsSerialClassIndex(int classIndex) { return classIndex < SerialClassCount; }
// Most instances a class holds: 10 for a serial class, 5 for a TCP connection.
constexpr int MaxInstances(int classIndex) {
    return IsSerialClassIndex(classIndex) ? SerialCommandSlots : TcpCommandSlots;
}

// Makes EditSerialClasses and EditTcpClasses anew from SerialClasses and TcpClasses: the
// class attributes and the commands in slots 0..CmdCount-1; everything else stays zero.
// A count above the class's maximum (only a gateway can hold one) is taken as the maximum.
void MakeWorkingCopy(GatewayConfig& config);

// Throws the working copy away (all zero again).
void DiscardWorkingCopy(GatewayConfig& config);

// Whether the working copy holds other values than a copy made anew from the class records
// would: a command changed, added or deleted, or class attributes set to other values. An
// edit undone by hand (added, then deleted again) is no change.
bool WorkingCopyChanged(const GatewayConfig& config);

// Copies what a class's attribute frame sets into a record, from another record or from the
// frame's checked attributes. The commands stay, and so do a serial class's port settings,
// which the main window keeps in SerialClasses.
template <typename Attributes>
void CopyClassAttributes(const Attributes& from, SerialClassRecord& to) {
    to.ConnMode = from.ConnMode;
    to.CmdTimeout = from.CmdTimeout;
}
template <typename Attributes>
void CopyClassAttributes(const Attributes& from, TcpClassRecord& to) {
    to.ConnValid = from.ConnValid;
    to.ServerIp = from.ServerIp;
    to.ConnTimeout = from.ConnTimeout;
    to.RetryConnTimeout = from.RetryConnTimeout;
    to.CmdTimeout = from.CmdTimeout;
}

// The command slots and count of one class of the working copy.
struct ClassCommands {
    uint8_t& CmdCount;
    std::span<ModbusCommand> Slots;
};
ClassCommands EditClassCommands(GatewayConfig& config, int classIndex);

// Whether the stored connection mode (serial) or connection-valid flag (TCP) switches the
// class on; only then may its commands be edited.
bool StoredConnectionOn(const GatewayConfig& config, int classIndex);

// The instance list entry of slot k: "         Instance  " followed by k + 1.
QString InstanceEntryText(int slot);

// "Support Maximun 10 Instances." / "... 5 Instances."
QString ClassFullMessage(int classIndex);

// Add: refuses a full class before looking at the fields, then checks the fields and
// stores them into the next free slot. Returns the message shown on refusal, or empty.
QString AddCommand(GatewayConfig& config, int classIndex, const CommandFieldTexts& fields);

// Update: checks the fields and stores them into a used slot; the count stays. A slot
// outside 0..CmdCount-1 is refused.
QString UpdateCommand(GatewayConfig& config, int classIndex, int slot,
                      const CommandFieldTexts& fields);

// Delete: later commands move up by one slot, the last used slot is cleared, the count
// drops by one. A slot outside 0..CmdCount-1 changes nothing.
void DeleteCommand(GatewayConfig& config, int classIndex, int slot);

// The "Set" of a class's attribute frame; the commands of the class are kept.
void StoreSerialClassAttributes(GatewayConfig& config, int classIndex,
                                const SerialClassAttributes& attributes);
void StoreTcpClassAttributes(GatewayConfig& config, int classIndex,
                             const TcpClassAttributes& attributes);

}  // namespace kv
