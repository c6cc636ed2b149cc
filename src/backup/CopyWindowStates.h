#pragma once
// Which controls of the EEPROM copy window can be used in each of its states, and which
// state an import or export ends in.

#include "backup/CopyMessages.h"

namespace kv {

enum class CopyWindowState {
    PortClosed,    // after opening the window, "Close COM", a failure or another port chosen
    PortOpen,      // after "Open COM"
    Transferring,  // while an import or export talks to the gateway
    Transferred,   // after a finished import or export, until "Close COM"
};

struct CopyWindowLook {
    bool Connect = false;     // "Open COM"
    bool Disconnect = false;  // "Close COM"
    bool ComPort = false;     // the port list
    bool Transfers = false;   // "Import To INI File", "Export To EEPROM"
    bool Exit = false;        // "Exit", and closing the window
};

// While a transfer runs every action is locked: a second sequence on the same port, or a
// port closed under a running one, would garble both.
constexpr CopyWindowLook LookOf(CopyWindowState state) {
    switch (state) {
        case CopyWindowState::PortClosed:
            return {true, false, true, false, true};
        case CopyWindowState::PortOpen:
            return {false, true, true, true, true};
        case CopyWindowState::Transferring:
            return {false, false, false, false, false};
        case CopyWindowState::Transferred:
            return {false, true, false, true, true};
    }
    return {};
}

// The state after a transfer that started in `before`. PortClosed means the window's reset
// after a failure: the port is closed and the progress goes back to 0.
constexpr CopyWindowState StateAfterTransfer(CopyDirection direction, CopyResult result,
                                             CopyWindowState before) {
    if (result == CopyResult::Ok) return CopyWindowState::Transferred;
    // A backup file that could not be written stops the import before anything is sent
    // or after the console left EEPROM mode: the port is still good to use.
    if (result == CopyResult::FileError && direction == CopyDirection::Import) return before;
    return CopyWindowState::PortClosed;
}

}  // namespace kv
