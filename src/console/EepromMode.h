#pragma once
// The console's EEPROM mode, as the read-out, the save, the factory reset and the EEPROM
// copy use it: "use eeprom" enters it, "block N" selects a block, "e A" opens address A in
// the byte editor (which shows "B(A)=value -->"), "." leaves the editor, "quit" the mode.
// Each exchange returns false when the console did not answer as expected.

#include <QString>
#include <functional>

#include "config/EepromImage.h"
#include "console/ConsoleLink.h"

namespace kv {

// The prompt of EEPROM mode, shown after a block is selected or the editor is left.
inline const QString BlockPrompt = QStringLiteral("]");

bool EnterEepromMode(ConsoleLink& link);
bool LeaveByteEditor(ConsoleLink& link);
// Back to the controller's prompt, which the read-out has learnt.
bool LeaveEepromMode(ConsoleLink& link);

// How a run is read in the byte editor.
enum class RunReading {
    // "e A" at every address: nothing goes out that could change a byte. The read-out's way.
    OpeningEachAddress,
    // "e A" at the first address, then each byte shown is sent back, which stores it as it
    // was and shows the next address; the last one is not sent. The EEPROM copy's way; these
    // lines only ask.
    SendingEachByteBack,
};

// Reads and writes runs in EEPROM mode: a run's block is selected first unless it was the
// last one selected, and each run ends with "." at the block prompt. Every exchange returns
// false when the console did not answer as expected.
class RunEditor {
public:
    explicit RunEditor(ConsoleLink& link) : link_(link) {}

    // Fills run.Bytes (its size is the run's, at least 1) with the bytes the console shows;
    // `byteRead` (when given) is told of each byte after the first.
    bool Read(EepromRun& run, RunReading way = RunReading::OpeningEachAddress,
              const std::function<void()>& byteRead = {});

    // One edit sequence: opens the run's first address and stores the bytes one after
    // another, the console moving on to the next address confirming each; `byteStored` (when
    // given) is told so. After address 255 the console is back at its block prompt instead.
    bool Write(const EepromRun& run, const std::function<void()>& byteStored = {});

private:
    bool Select(int block);

    ConsoleLink& link_;
    int selected_ = -1;  // none yet
};

}  // namespace kv
