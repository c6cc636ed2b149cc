#pragma once
// Which controls of the EEPROM copy window can be used in each of its states.

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
    case CopyWindowState::PortClosed: return {true, false, true, false, true};
    case CopyWindowState::PortOpen: return {false, true, true, true, true};
    case CopyWindowState::Transferring: return {false, false, false, false, false};
    case CopyWindowState::Transferred: return {false, true, false, true, true};
    }
    return {};
}

}  // namespace kv
