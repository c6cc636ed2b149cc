#pragma once
// The console's EEPROM mode, as the read-out, the save, the factory reset and the EEPROM
// copy use it: "use eeprom" enters it, "block N" selects a block, "e A" opens address A in
// the byte editor (which shows "B(A)=value -->"), "." leaves the editor, "quit" the mode.
// Each exchange returns false when the console did not answer as expected.

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

#include "console/ConsoleLink.h"

namespace kv {

// The prompt of EEPROM mode, shown after a block is selected or the editor is left.
inline const QString BlockPrompt = QStringLiteral("]");

bool EnterEepromMode(ConsoleLink& link);
bool SelectBlock(ConsoleLink& link, int block);
// What the byte editor shows before the value at `address`: "B(A)=".
QString ByteKey(int address);
bool LeaveByteEditor(ConsoleLink& link);
// Back to the controller's prompt, which the read-out has learnt.
bool LeaveEepromMode(ConsoleLink& link);

// Opens `address` of the selected block and stores the bytes one after another: the
// console moving on to the next address confirms each, and `byteStored` (when given) is
// told so. After address 255 the console is back at its block prompt instead. Leaves the
// editor with "." at the end.
bool WriteEditSequence(ConsoleLink& link, int address, std::span<const uint8_t> bytes,
                       const std::function<void()>& byteStored = {});

}  // namespace kv
